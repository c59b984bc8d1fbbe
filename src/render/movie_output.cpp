#include "movie_output.h"

#include <sys/stat.h>

#include <cstdio>

#include "base/atomic_file.h"
#include "base/strings.h"
#include "render/player_executable.h"
#include "swf/swf_movie.h"

namespace quib {

namespace {

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

std::string htmlPageName(const std::string& outputFileName) {
    const size_t slash = outputFileName.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = outputFileName.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        return outputFileName + ".htm";
    return outputFileName.substr(0, dot) + ".htm";
}

std::string movieReference(const std::string& outputFileName) {
    const size_t slash = outputFileName.find_last_of('/');
    return slash == std::string::npos ? outputFileName : outputFileName.substr(slash + 1);
}

std::string htmlWrapperPage(int width, int height, const std::string& reference) {
    const std::string m = escapeHtmlAttribute(reference);
    const std::string w = std::to_string(width), h = std::to_string(height);
    const char* const eol = "\r\n";
    std::string page;
    page += std::string("<HTML>") + eol;
    page += "<BODY><center><OBJECT CLASSID=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" WIDTH=\"" + w +
            "\" HEIGHT=\"" + h + "\" CODEBASE=\"" + kPlayerCabAddress + "\">" + eol;
    page += "<PARAM NAME=movie VALUE=\"" + m + "\">" + eol;
    page += std::string("<PARAM NAME=play VALUE=true>") + eol;
    page += std::string("<PARAM NAME=loop VALUE=false>") + eol;
    page += std::string("<PARAM NAME=quality VALUE=low>") + eol;
    page += "<EMBED SRC=\"" + m + "\" WIDTH=" + w + " HEIGHT=" + h +
            " loop=false quality=low TYPE=\"application/x-shockwave-flash\" PLUGINSPAGE=\"" +
            kPlayerPluginPage + "\">" + eol;
    page += std::string("</EMBED>") + eol;
    page += std::string("</OBJECT>") + eol;
    page += std::string("</center>") + eol;
    page += std::string("</BODY></HTML>") + eol;
    return page;
}

OutputResult WriteMovieOutput(SwfMovie& movie, const std::string& outputFileName, OutputType outputType,
                              Size canvas, const std::string& playerPath) {
    OutputResult result;
    const bool executable = !projectorFileName(outputType).empty();
    // The movie streams into the file; the executable's trailer needs only its length.
    AtomicFile file;
    const bool opened = file.open(outputFileName);
    file.setExecutable(executable);
    std::vector<uint8_t> player;
    if (executable) {
        result.movieStatus = readProjector(outputType, playerPath, player);
        if (result.movieStatus && opened && !file.write(player))
            result.movieStatus = Status::failure(str::CannotCreateFile);
    }
    if (result.movieStatus)
        result.movieStatus = movie.write(file);
    if (result.movieStatus && executable) {
        std::vector<uint8_t> trailer;
        appendU32(trailer, kAppendedMovieMagic);
        appendU32(trailer, uint32_t(file.size() - player.size()));
        file.write(trailer);
    }
    if (result.movieStatus && !file.commit())
        result.movieStatus = Status::failure(str::CannotCreateFile);
    if (result.movieStatus)
        result.outputBytes = size_t(file.size());

    if (outputType == OutputType::Movie) {
        const std::string page = htmlWrapperPage(canvas.cx, canvas.cy, movieReference(outputFileName));
        const std::string pagePath = htmlPageName(outputFileName);
        if (writeFileAtomically(pagePath, page))
            result.pagePath = pagePath;
        else
            result.pageStatus = Status::failureText(kCannotCreateHtmlMessage);
    }
    return result;
}

bool outputMissing(const std::string& outputFileName) {
    struct stat info {};
    return outputFileName.empty() || ::stat(outputFileName.c_str(), &info) != 0;
}

ShowResultPlan PlanShowResult(const std::string& outputFileName, OutputType type) {
    ShowResultPlan plan;
    plan.askRenderFirst = outputMissing(outputFileName);
    if (plan.askRenderFirst)
        plan.question = stringText(str::NotRenderedYet);
    plan.page = type == OutputType::Movie ? resultPageName(outputFileName) : outputFileName;
    // Only a program of this system can be started; the Windows one is handed to the desktop.
    plan.start = type == OutputType::LinuxExecutable;
    return plan;
}

}  // namespace quib

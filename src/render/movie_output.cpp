#include "movie_output.h"

#include <sys/stat.h>

#include <cstdio>

#include "base/strings.h"
#include "model/project_storage.h"
#include "render/player_executable.h"
#include "swf/swf_movie.h"

namespace quib {

namespace {

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// Execute permission wherever read permission was given (so the umask still applies).
bool makeExecutable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    const mode_t mode = info.st_mode & 07777;
    return ::chmod(path.c_str(), mode | ((mode & 0444) >> 2)) == 0;
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

std::vector<uint8_t> executableBytes(const std::vector<uint8_t>& player, const std::vector<uint8_t>& movie) {
    std::vector<uint8_t> out;
    out.reserve(player.size() + movie.size() + 8);
    out.insert(out.end(), player.begin(), player.end());
    out.insert(out.end(), movie.begin(), movie.end());
    appendU32(out, kAppendedMovieMagic);
    appendU32(out, uint32_t(movie.size()));
    return out;
}

OutputResult WriteMovieOutput(SwfMovie& movie, const std::string& outputFileName,
                              OutputType outputType, Size canvas, const std::string& playerPath) {
    OutputResult result;
    std::vector<uint8_t> bytes;
    result.movieStatus = movie.write(bytes);
    if (result.movieStatus && outputType == OutputType::Executable) {
        std::vector<uint8_t> player;
        result.movieStatus = readPlayerExecutable(playerPath, player);
        if (result.movieStatus)
            bytes = executableBytes(player, bytes);
    }
    if (result.movieStatus)
        result.movieStatus = writeFileAtomically(outputFileName, bytes);
    if (result.movieStatus && outputType == OutputType::Executable && !makeExecutable(outputFileName))
        result.movieStatus = Status::failure(str::CannotCreateFile);
    if (result.movieStatus)
        result.outputBytes = bytes.size();

    if (outputType == OutputType::Movie) {
        const std::string page = htmlWrapperPage(canvas.cx, canvas.cy, movieReference(outputFileName));
        const std::string pagePath = htmlPageName(outputFileName);
        if (writeFileAtomically(pagePath, std::vector<uint8_t>(page.begin(), page.end())))
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

ShowResultPlan PlanShowResult(const std::string& outputFileName) {
    ShowResultPlan plan;
    plan.askRenderFirst = outputMissing(outputFileName);
    if (plan.askRenderFirst)
        plan.question = stringText(str::NotRenderedYet);
    plan.page = resultPageName(outputFileName);
    return plan;
}

}  // namespace quib

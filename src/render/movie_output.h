#pragma once

#include "base/html_escape.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "base/status.h"
#include "model/output_type.h"

namespace quib {

class SwfMovie;

// Message when the page beside the movie cannot be written.
inline constexpr const char* kCannotCreateHtmlMessage = "Impossibile creare il file di output HTML";

// Addresses the page gives a browser for the movie player.
inline constexpr const char* kPlayerCabAddress =
    "http://download.quib-player.invalid/flash5/cabs/swflash.cab#version=5,0,0,0";
inline constexpr const char* kPlayerPluginPage =
    "http://download.quib-player.invalid/shockwave/download/index.cgi?P1_Prod_Version=ShockwaveFlash";

// Trailer of a self-running program: the movie, then this u32 and the movie's u32 length.
inline constexpr uint32_t kAppendedMovieMagic = 0xFA123456;

// The page beside a movie: the output name without the extension of its file name, plus ".htm".
// Only a dot in the file name counts, so that a dotted folder never names a page outside it.
std::string htmlPageName(const std::string& outputFileName);

// How the page refers to the movie: its file name, in the page's own folder.
std::string movieReference(const std::string& outputFileName);

// The eleven lines of the page, with CR LF line ends.
std::string htmlWrapperPage(int width, int height, const std::string& movieReference);

struct OutputResult {
    Status movieStatus;
    Status pageStatus;
    std::string pagePath;
    size_t outputBytes = 0;  // of the movie or executable file
};

// Writes the finished movie (which it empties) as outputType says: Executable and LinuxExecutable
// the projector with the movie appended, executable; Movie the movie with the page beside it.
// Every file is replaced atomically. playerPath: the projector to use, empty to look for it.
OutputResult WriteMovieOutput(SwfMovie& movie, const std::string& outputFileName, OutputType outputType,
                              Size canvas, const std::string& playerPath = {});

// Show result: whether to ask string 16 (render first?) because there is no output file yet.
bool outputMissing(const std::string& outputFileName);
// The page beside a movie.
inline std::string resultPageName(const std::string& outputFileName) {
    return htmlPageName(outputFileName);
}

// What the show-result command does: when askRenderFirst, ask question (Yes renders, No stops);
// then open page in the desktop's browser, or start it when start is set.
struct ShowResultPlan {
    bool askRenderFirst = false;
    std::string question;  // string 16
    std::string page;      // the movie's page, the web page itself, or the executable
    bool start = false;
};
ShowResultPlan PlanShowResult(const std::string& outputFileName, OutputType type = OutputType::Movie);

}  // namespace quib

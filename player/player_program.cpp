#include "player_program.h"

#include <charconv>
#include <cstdio>

#include "appended_movie.h"
#include "frame_dump.h"
#include "movie_decoder.h"
#include "png_writer.h"

namespace quib::player {

namespace {

void printUsage(const std::string& program, FILE* to) {
    std::fprintf(to,
                 "Uso:\n"
                 "  %s FILMATO.swf\n"
                 "  %s --dump-frame N [FILMATO.swf] IMMAGINE.png\n"
                 "FILMATO può essere anche un programma con un filmato accodato.\n"
                 "Senza FILMATO riproduce il filmato accodato al programma stesso.\n",
                 program.c_str(), program.c_str());
}

void printError(const std::string& program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
}

// Loads the named movie, or the one appended to this program when path is empty. A named
// self-running program is read as it reads itself. found is cleared when there is no movie.
bool loadMovie(const std::string& path, const std::string& self, MovieData& movie, std::string& error,
               bool& found) {
    found = true;
    AppendedMovieResult appended = readAppendedMovie(path.empty() ? self : path);
    if (!path.empty() && !appended.found)
        return loadMovieFile(path, movie, error);
    if (!appended.error.empty()) {
        error = appended.error;
        return false;
    }
    if (!appended.found) {
        found = false;
        return false;
    }
    return loadMovieBytes(appended.movie, movie, error);
}

int dumpFrame(const std::vector<std::string>& args, const std::string& program, const std::string& self) {
    // args: N [movie] out.png
    if (args.size() != 2 && args.size() != 3) {
        printUsage(program, stderr);
        return ExitUsage;
    }
    int frame = -1;
    const std::string& number = args[0];
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), frame);
    if (ec != std::errc() || end != number.data() + number.size() || frame < 0) {
        printError(program, "numero di frame non valido: " + number);
        return ExitUsage;
    }
    const std::string moviePath = args.size() == 3 ? args[1] : std::string();
    const std::string& outPath = args.back();

    auto movie = std::make_shared<MovieData>();
    std::string error;
    bool found = true;
    if (!loadMovie(moviePath, self, *movie, error, found)) {
        if (!found) {
            printUsage(program, stderr);
            return ExitUsage;
        }
        printError(program, error);
        return ExitError;
    }
    const Picture picture = renderFrameImage(std::move(movie), frame, error);
    if (picture.isNull()) {
        printError(program, error);
        return ExitError;
    }
    if (!savePng(picture, outPath)) {
        printError(program, "Impossibile creare il file " + outPath);
        return ExitError;
    }
    return 0;
}

}  // namespace

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int runPlayerProgram(const std::vector<std::string>& args, const std::string& programName,
                     const std::string& ownExecutable, const PlayWindow& play) {
    if (!args.empty() && args[0] == "--dump-frame")
        return dumpFrame({args.begin() + 1, args.end()}, programName, ownExecutable);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printUsage(programName, stdout);
        return 0;
    }
    if (args.size() > 1 || (!args.empty() && args[0].starts_with("-"))) {
        printUsage(programName, stderr);
        return ExitUsage;
    }
    const std::string moviePath = args.empty() ? std::string() : args[0];
    auto movie = std::make_shared<MovieData>();
    MovieToPlay toPlay;
    bool found = true;
    if (!loadMovie(moviePath, ownExecutable, *movie, toPlay.error, found)) {
        if (!found) {
            printUsage(programName, stderr);
            return ExitUsage;
        }
        // Reported here first: the window then waits for the user.
        printError(programName, toPlay.error);
        std::fflush(stderr);
    } else {
        toPlay.movie = std::move(movie);
    }
    toPlay.title = fileNameOf(moviePath.empty() ? ownExecutable : moviePath);
    return play(toPlay);
}

}  // namespace quib::player

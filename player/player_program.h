#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "movie_data.h"

namespace quib::player {

inline constexpr int ExitError = 1;
inline constexpr int ExitUsage = 2;

// What a player's window gets: the movie and its title, or the error that stopped it loading.
struct MovieToPlay {
    std::shared_ptr<const MovieData> movie;
    std::string title;  // the file name of the movie, or of the program that carries it
    std::string error;
};

using PlayWindow = std::function<int(const MovieToPlay&)>;

// The command line every player shares (arguments without the program's name):
//   MOVIE | --dump-frame N [MOVIE] OUT.png | --help | nothing, to play the movie appended to self.
// Dumping needs no display; playing calls play. Returns the exit code.
int runPlayerProgram(const std::vector<std::string>& args, const std::string& programName,
                     const std::string& ownExecutable, const PlayWindow& play);

// The last component of path, either separator counting.
std::string fileNameOf(const std::string& path);

}  // namespace quib::player

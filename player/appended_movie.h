#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quib::player {

// A self-running program ends with the movie, the u32 magic 0xFA123456 and the u32 movie
// length (little-endian).
inline constexpr uint32_t AppendedMovieMagic = 0xFA123456;

struct AppendedMovieResult {
    bool found = false;          // the file ends with the magic
    std::vector<uint8_t> movie;  // the movie bytes when found and whole
    std::string error;           // set when the file cannot be read or the length is impossible
};

// Looks for a movie appended to the end of the file at path.
AppendedMovieResult readAppendedMovie(const std::string& path);

}  // namespace quib::player

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "movie_data.h"

namespace quib::player {

// Decodes a whole movie file held in memory ("FWS", or the zlib-compressed "CWS").
// Throws FormatError with a readable message when the data is malformed.
MovieData decodeMovie(const uint8_t* data, size_t size);
inline MovieData decodeMovie(const std::vector<uint8_t>& bytes) {
    return decodeMovie(bytes.data(), bytes.size());
}

// Reads and decodes a movie file; on failure returns false and sets error.
bool loadMovieFile(const std::string& path, MovieData& movie, std::string& error);
// Decodes movie bytes; on failure returns false and sets error.
bool loadMovieBytes(const std::vector<uint8_t>& bytes, MovieData& movie, std::string& error);

}  // namespace quib::player

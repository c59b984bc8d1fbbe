#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture.h"

namespace quib::player {

// The picture as an 8-bit RGB PNG file, alpha dropped.
std::vector<uint8_t> encodePng(const Picture& picture);

// Writes the PNG file whole in place of path, or leaves the old file as it was; false on failure.
bool savePng(const Picture& picture, const std::string& path);

}  // namespace quib::player

#pragma once

#include <memory>
#include <string>

#include "movie_data.h"
#include "picture.h"

namespace quib::player {

// Largest stage side, in pixels, that is drawn into a picture.
inline constexpr int MaxDumpSide = 16384;

// The stage as it looks on frame n when jumped to with the go-to action, at its natural size. A null
// picture and error when the frame does not exist or the picture cannot be made.
Picture renderFrameImage(std::shared_ptr<const MovieData> movie, int n, std::string& error);

}  // namespace quib::player

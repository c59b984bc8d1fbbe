#pragma once

#include <QImage>
#include <QString>

#include <memory>

#include "movie_data.h"

namespace quib::player {

// Largest stage side, in pixels, that is drawn into a picture.
inline constexpr int MaxDumpSide = 16384;

// The stage as it looks on frame n when jumped to with the go-to action, at its natural size. A null image
// and error when the frame does not exist or the picture cannot be made.
QImage renderFrameImage(std::shared_ptr<const MovieData> movie, int n, QString& error);

}  // namespace quib::player

#pragma once

#include <QImage>
#include <QString>

#include <memory>

#include "movie_data.h"

namespace quib::player {

// Largest movie side, in units, that is drawn into a picture one unit per pixel.
inline constexpr int MaxDumpSide = 16384;

// The stage as it looks on frame n when jumped to with the go-to action, one pixel per movie
// unit. A null image and error when the frame does not exist or the picture cannot be made.
QImage renderFrameImage(std::shared_ptr<const MovieData> movie, int n, QString& error);

}  // namespace quib::player

#pragma once

#include <QImage>

namespace quib::raster {

// Replaces the 4-connected region of pixels equal to the one at (x, y) (all 32 bits compared)
// by fill. Works on 32-bit images; returns false when the seed is outside or nothing changes.
bool floodFill(QImage& image, int x, int y, QRgb fill);

}  // namespace quib::raster

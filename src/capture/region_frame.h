#pragma once

#include "base/bitmap.h"
#include "base/geometry.h"

namespace quib {

// The outline that marks a capture region while it is picked: four nested 1-pixel rectangles,
// each 1 pixel inside the last, combined with the picture as NOT(picture XOR grey 64). The
// operation is its own inverse, so drawing the same outline again erases it. region is in the
// picture's coordinates (normalized first); parts outside the picture are left out.
void toggleRegionFrame(Bitmap24& picture, const Rect& region);

// The rectangle a toggle of region touches, for repainting (empty when nothing is touched).
Rect regionFrameBounds(const Bitmap24& picture, const Rect& region);

}  // namespace quib

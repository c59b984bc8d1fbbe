#pragma once

#include "bitmap.h"
#include "geometry.h"

namespace quib {

// A cursor as the platform hands it over: its picture (alpha >= 128 counts as covered) and hot spot.
struct CursorPicture {
    Bitmap32 image;
    Point hotSpot;
    bool isNull() const { return image.isNull(); }
};

}  // namespace quib

#pragma once

#include "base/cursor_picture.h"

namespace quib {

// The classic arrow: black with a white outline, 32 x 32, hot spot at its tip (0, 0).
// Used where no platform cursor is at hand, for example the first frame of an empty project.
CursorPicture standardArrowCursor();

}  // namespace quib

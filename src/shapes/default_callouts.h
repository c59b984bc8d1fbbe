#pragma once

#include "shapes/callout_library.h"

namespace quib {

// The callouts shipped with the program: rectangle, rounded box, speech bubbles pointing down, up,
// left and right, a highlight frame and a note.
CalloutLibrary defaultCalloutLibrary();

}  // namespace quib

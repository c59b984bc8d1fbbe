#pragma once

#include "shapes/callout_library.h"

namespace quib::cli {

// Loads the callout library text boxes are drawn with: the user's copy, then the shipped one
// (beside the program, in the build tree, installed). Without one it says so on stderr and
// returns false; text boxes are then left out.
bool loadCalloutLibrary(CalloutLibrary& library);

}  // namespace quib::cli

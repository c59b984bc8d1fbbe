#pragma once

#include "shapes/callout_library.h"

namespace quib::cli {

// Loads the callout library text boxes are drawn with (findCalloutLibrary). A library file that
// cannot be read is named on stderr. Returns whether a file was read rather than the built-in
// callouts.
bool loadCalloutLibrary(CalloutLibrary& library);

}  // namespace quib::cli

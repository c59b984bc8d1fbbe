#pragma once

#include "quib_doc.h"

namespace quib {

// Fills an empty document with frameCount screen-like frames of cx x cy: flat areas, a window
// with text-like stripes, small changes from frame to frame, and on every frame a text box,
// buttons, a title and the cursor. For demos, tests and benchmarks.
bool buildSyntheticProject(CQuibDoc& doc, int cx, int cy, int frameCount);

}  // namespace quib

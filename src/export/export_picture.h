#pragma once

#include "base/bitmap.h"
#include "model/quib_doc.h"

namespace quib {

// The canvas picture of the current frame as the exports write it: every element composed over
// white, text boxes with the application's callout library. The picture is cleared for each frame so that no
// part of an earlier frame shows where neither a background picture nor the frame image covers the canvas.
void composeExportPicture(CQuibDoc& doc, Bitmap24& picture);

}  // namespace quib

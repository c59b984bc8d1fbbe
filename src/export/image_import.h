#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "imagefilters/filter_table.h"
#include "model/quib_doc.h"

namespace quib {

// Fits a picture to a frame size as a frame paste does: placed at the top-left, cut where it is
// larger, black where it is smaller.
Bitmap24 fitPictureToFrame(const Bitmap24& picture, Size frameSize);

// Fills an empty document with one frame per image, loaded through the filter plug-ins. The
// first image fixes the frame and canvas size; the frames start as captured frames do (only the
// default positions set, nothing shown). A file that cannot be loaded fails with
// "Formato di file sconosciuto" and its path, and leaves the document as it was.
Status ImportImages(CQuibDoc& doc, const FilterTable& filters, const std::vector<std::string>& paths);

}  // namespace quib

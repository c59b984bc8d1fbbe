#include "export/export_picture.h"

#include <algorithm>

#include "model/frame_composition.h"

namespace quib {

void composeExportPicture(CQuibDoc& doc, Bitmap24& picture) {
    const Size canvas = doc.backgroundSize;
    if (picture.width != canvas.cx || picture.height != canvas.cy)
        picture = Bitmap24(std::max(canvas.cx, 0), std::max(canvas.cy, 0));
    std::fill(picture.pixels.begin(), picture.pixels.end(), uint8_t(255));
    if (!picture.isNull())
        ComposeFrame(doc, picture.pixels.data(), ComposeAll, picture.width * 3);
}

}  // namespace quib

#include "background_removal.h"

#include "model/quib_doc.h"
#include "move_elements_dialog.h"

namespace quib {

void removeBackgroundPicture(CQuibDoc& doc) {
    moveAllElements(doc, -doc.frameOrigin.x, -doc.frameOrigin.y, nullptr);
    doc.backgroundSize = doc.frameSize;
    doc.backgroundImage.clear();
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Canvas);
}

}  // namespace quib

#include "background_removal.h"

#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "move_elements_dialog.h"

namespace quib {

void removeBackgroundPicture(CQuibDoc& doc) {
    editProject(doc, "Rimuovi sfondo", [&] {
        moveAllElements(doc, -doc.frameOrigin.x, -doc.frameOrigin.y, nullptr);
        doc.backgroundSize = doc.frameSize;
        doc.backgroundImage.clear();
        return true;
    });
    doc.UpdateAllViews(hint::Canvas);
}

}  // namespace quib

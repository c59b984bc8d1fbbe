#include "background_removal.h"

#include "model/quib_doc.h"

namespace quib {

namespace {

void movePoint(Point& p, int dx, int dy) {
    p.x += dx;
    p.y += dy;
}

void moveRect(Rect& r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

}  // namespace

void moveAllFramesElements(CQuibDoc& doc, int dx, int dy) {
    movePoint(doc.frameOrigin, dx, dy);
    moveRect(doc.titles.rect, dx, dy);
    for (int i = 0; i < doc.frameCount(); ++i) {
        Frame frame;
        doc.GetFrame(i, frame);
        movePoint(frame.cursorPos, dx, dy);
        moveRect(frame.textBox.rect, dx, dy);
        movePoint(frame.prevButton.pos, dx, dy);
        movePoint(frame.nextButton.pos, dx, dy);
        for (NavButton& button : frame.gotoButtons)
            movePoint(button.pos, dx, dy);
        doc.SetFrame(i, frame, false);
    }
    if (doc.isValidIndex(doc.currentFrameIndex))
        doc.elementsChanged = true;
    doc.SetModifiedFlag(true);
}

void removeBackgroundPicture(CQuibDoc& doc) {
    moveAllFramesElements(doc, -doc.frameOrigin.x, -doc.frameOrigin.y);
    doc.backgroundSize = doc.frameSize;
    doc.backgroundImage.clear();
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Canvas);
}

}  // namespace quib

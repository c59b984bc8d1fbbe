#pragma once

namespace quib {

class CQuibDoc;

// Drops the background picture: everything moves with the frame picture to the canvas's top-left
// corner and the canvas shrinks to the frame size. Views get hint 1; the document is modified.
void removeBackgroundPicture(CQuibDoc& doc);

}  // namespace quib

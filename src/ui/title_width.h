#pragma once

class QWidget;

namespace quib {

// Makes a dialog at least as wide as its caption in the title bar (drawn bold by most window
// managers) plus room for the bar's icon and buttons, so the caption is never cut short.
void keepTitleVisible(QWidget& dialog);

}  // namespace quib

#include "title_width.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace quib {

namespace {
constexpr int kTitleBarButtons = 96;
}

void keepTitleVisible(QWidget& dialog) {
    QFont font = dialog.font();
    font.setBold(true);
    const int title = QFontMetrics(font).horizontalAdvance(dialog.windowTitle()) + kTitleBarButtons;
    dialog.setMinimumWidth(std::max(dialog.minimumWidth(), title));
}

}  // namespace quib

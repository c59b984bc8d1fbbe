#include "palette_swatch_grid.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "palette_edit_state.h"

namespace quib {

namespace {
constexpr int kColumns = 16;
constexpr int kCells = kColumns * kColumns;
constexpr int kPreferredCell = 18;
}  // namespace

PaletteSwatchGrid::PaletteSwatchGrid(PaletteEditState& state, QWidget* parent)
    : QFrame(parent), m_state(state) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize PaletteSwatchGrid::sizeHint() const {
    const int side = kColumns * kPreferredCell + 2 * frameWidth();
    return {side, side};
}

QSize PaletteSwatchGrid::minimumSizeHint() const {
    const int side = kColumns * 8 + 2 * frameWidth();
    return {side, side};
}

QRect PaletteSwatchGrid::cellRect(const QRect& area, int index) {
    const int column = index % kColumns;
    const int row = index / kColumns;
    const int left = area.left() + area.width() * column / kColumns;
    const int top = area.top() + area.height() * row / kColumns;
    const int right = area.left() + area.width() * (column + 1) / kColumns;
    const int bottom = area.top() + area.height() * (row + 1) / kColumns;
    return QRect(left, top, right - left, bottom - top);
}

int PaletteSwatchGrid::cellAt(const QRect& area, const QPoint& point) {
    if (!area.contains(point))
        return -1;
    for (int index = 0; index < kCells; ++index)
        if (cellRect(area, index).contains(point))
            return index;
    return -1;
}

void PaletteSwatchGrid::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = cellArea();
    for (int index = 0; index < m_state.count(); ++index) {
        const PaletteEntry& e = m_state.entry(index);
        const QBrush fill(QColor(e.red, e.green, e.blue));
        qDrawShadePanel(&painter, cellRect(area, index), palette(), true, 1, &fill);
    }
    if (m_state.selected() >= 0) {
        // Black outside, white inside: visible whatever the colour of the cell.
        const QRect cell = cellRect(area, m_state.selected());
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
        if (hasFocus()) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawRect(cell.adjusted(2, 2, -3, -3));
        }
    }
}

void PaletteSwatchGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_state.select(cellAt(cellArea(), event->position().toPoint()));
    notify();
}

void PaletteSwatchGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseDoubleClickEvent(event);
        return;
    }
    const int index = cellAt(cellArea(), event->position().toPoint());
    if (index >= 0 && index == m_state.selected() && m_edit)
        m_edit(index);
}

void PaletteSwatchGrid::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -kColumns;
            break;
        case Qt::Key_Down:
            step = kColumns;
            break;
        case Qt::Key_Delete:
            if (m_state.removeSelected())
                notify();
            event->accept();
            return;
        default:
            QFrame::keyPressEvent(event);
            return;
    }
    if (m_state.moveSelection(step))
        notify();
    event->accept();
}

void PaletteSwatchGrid::notify() {
    update();
    if (m_changed)
        m_changed();
}

}  // namespace quib

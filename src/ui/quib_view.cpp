#include "quib_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "model/frame_clipboard.h"
#include "model/frame_composition.h"
#include "model/quib_doc.h"

namespace quib {

namespace {
QRect textBoxRect(const CQuibDoc& doc);
QRect cursorRect(const CQuibDoc& doc);
}  // namespace

CQuibView::CQuibView(CQuibDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_doc.addObserver(this);
}

CQuibView::~CQuibView() {
    m_doc.removeObserver(this);
}

QRect CQuibView::canvasRect() const {
    const int w = m_doc.backgroundSize.cx, h = m_doc.backgroundSize.cy;
    return QRect(std::max(0, (width() - w) / 2), std::max(0, (height() - h) / 2), w, h);
}

const QImage& CQuibView::backBuffer() {
    const int w = m_doc.backgroundSize.cx, h = m_doc.backgroundSize.cy;
    if (m_dirty && w > 0 && h > 0) {
        if (m_buffer.width() != w || m_buffer.height() != h)
            m_buffer = QImage(w, h, QImage::Format_BGR888);
        m_buffer.fill(Qt::white);
        ComposeFrame(m_doc, m_buffer.bits(), ComposeAll, int(m_buffer.bytesPerLine()));
        m_dirty = false;
    }
    return m_buffer;
}

void CQuibView::onUpdate(int, uint32_t) {
    m_dirty = true;
    update();
}

void CQuibView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The workspace outside the canvas is darkened so the frame's edges stand out.
    painter.fillRect(rect(), QColor(96, 96, 96));
    const QImage& picture = backBuffer();
    if (!picture.isNull())
        painter.drawImage(canvasRect().topLeft(), picture);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    if (m_selection & selitem::TextBox)
        painter.drawRect(textBoxRect(m_doc).translated(canvasRect().topLeft()).adjusted(-1, -1, 0, 0));
    if (m_selection & selitem::Cursor)
        painter.drawRect(cursorRect(m_doc).translated(canvasRect().topLeft()).adjusted(-1, -1, 0, 0));
}

}  // namespace quib

namespace quib {

namespace {
QRect textBoxRect(const CQuibDoc& doc) {
    const Rect& r = doc.currentFrame.textBox.rect;
    return QRect(r.left, r.top, r.width(), r.height());
}
QRect cursorRect(const CQuibDoc& doc) {
    const FrameElements& f = doc.currentFrame;
    return QRect(f.cursorPos.x, f.cursorPos.y, f.cursorWidth, f.cursorHeight);
}
}  // namespace

void CQuibView::setSelection(uint32_t mask) {
    m_selection = mask;
    update();
}

void CQuibView::moveSelection(int dx, int dy) {
    const int w = m_doc.backgroundSize.cx, h = m_doc.backgroundSize.cy;
    // One offset for every selected element, shrunk so none leaves the canvas.
    auto limit = [&](const QRect& r) {
        dx = std::clamp(dx, -r.left(), w - (r.left() + r.width()));
        dy = std::clamp(dy, -r.top(), h - (r.top() + r.height()));
    };
    if (m_selection & selitem::TextBox)
        limit(textBoxRect(m_doc));
    if (m_selection & selitem::Cursor)
        limit(cursorRect(m_doc));
    if ((dx == 0 && dy == 0) || m_selection == 0)
        return;
    if (m_selection & selitem::TextBox) {
        Rect& r = m_doc.currentFrame.textBox.rect;
        r.left += dx, r.right += dx, r.top += dy, r.bottom += dy;
    }
    if (m_selection & selitem::Cursor) {
        m_doc.currentFrame.cursorPos.x += dx;
        m_doc.currentFrame.cursorPos.y += dy;
    }
    m_doc.elementsChanged = true;
    m_doc.SetModifiedFlag(true);
    m_dirty = true;
    update();
    m_doc.UpdateAllViews(hint::TextBoxRect, 0, this);
}

void CQuibView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint() - canvasRect().topLeft();
    uint32_t hit = 0;
    const FrameElements& f = m_doc.currentFrame;
    if (f.cursorVisible && cursorRect(m_doc).contains(p))
        hit = selitem::Cursor;
    // A text box without a callout cannot be selected.
    else if (f.textBox.visible && !f.textBox.calloutName.empty() && textBoxRect(m_doc).contains(p))
        hit = selitem::TextBox;
    if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
        setSelection(m_selection ^ hit);
    else if (!(m_selection & hit) || hit == 0)
        setSelection(hit);
    m_dragging = hit != 0 && (m_selection & hit);
    m_dragLast = event->position().toPoint();
}

void CQuibView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    const QPoint p = event->position().toPoint();
    moveSelection(p.x() - m_dragLast.x(), p.y() - m_dragLast.y());
    m_dragLast = p;
}

void CQuibView::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}

void CQuibView::keyPressEvent(QKeyEvent* event) {
    const int step = event->modifiers() & Qt::ControlModifier ? 8 : 1;
    switch (event->key()) {
        case Qt::Key_Left: moveSelection(-step, 0); break;
        case Qt::Key_Right: moveSelection(step, 0); break;
        case Qt::Key_Up: moveSelection(0, -step); break;
        case Qt::Key_Down: moveSelection(0, step); break;
        default: QWidget::keyPressEvent(event); return;
    }
}

}  // namespace quib

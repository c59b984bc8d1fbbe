#include "quib_view.h"

#include <QPainter>

#include "model/frame_composition.h"
#include "model/quib_doc.h"

namespace quib {

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
}

}  // namespace quib

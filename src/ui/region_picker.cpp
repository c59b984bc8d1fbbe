#include "region_picker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "capture/region_frame.h"

namespace quib {

namespace {
Point screenPoint(const QMouseEvent* event) {
    const QPoint p = event->globalPosition().toPoint();
    return Point{p.x(), p.y()};
}

QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
}  // namespace

RegionPicker::RegionPicker(RegionMode mode, Bitmap24 screen, std::vector<WindowNode> windows, const Rect& region)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      m_mode(mode),
      m_picture(std::move(screen)),
      m_windows(std::move(windows)),
      m_region(region),
      m_before(region) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    if (!m_picture.isNull())
        m_view = QImage(m_picture.pixels.data(), m_picture.width, m_picture.height, int(m_picture.stride()),
                        QImage::Format_BGR888);
    setGeometry(0, 0, std::max(1, m_picture.width), std::max(1, m_picture.height));
    setCursor(mode == RegionMode::Rectangle ? Qt::CrossCursor : Qt::PointingHandCursor);
}

void RegionPicker::start(Point pointer) {
    show();
    raise();
    activateWindow();
    grabMouse();
    grabKeyboard();
    if (m_mode == RegionMode::Window) {
        // The region as it stands is the first mark, replaced by the window under the pointer.
        showMark(m_region);
        m_windowKnown = false;
        moveTo(pointer);
    }
}

void RegionPicker::toggleMark() {
    toggleRegionFrame(m_picture, m_markedRegion);
    const Rect bounds = regionFrameBounds(m_picture, m_markedRegion);
    if (!bounds.isEmpty())
        update(toQRect(bounds));
}

void RegionPicker::showMark(const Rect& region) {
    hideMark();
    m_markedRegion = region;
    m_marked = true;
    toggleMark();
}

void RegionPicker::hideMark() {
    if (!m_marked)
        return;
    toggleMark();
    m_marked = false;
}

void RegionPicker::pressAt(Point p) {
    if (m_ended)
        return;
    if (m_mode == RegionMode::Rectangle) {
        m_drag.begin(p);
        m_region = m_drag.current();
        showMark(m_region);
        if (m_changed)
            m_changed(m_region);
        return;
    }
    end(true);
}

void RegionPicker::moveTo(Point p) {
    if (m_ended)
        return;
    if (m_mode == RegionMode::Rectangle) {
        if (!m_drag.active())
            return;
        m_drag.moveTo(p);
        m_region = m_drag.current();
        showMark(m_region);
        if (m_changed)
            m_changed(m_region);
        return;
    }
    const PickedWindow picked = pickWindowAt(m_windows, p, screenSize());
    if (m_windowKnown && picked.id == m_highlighted)
        return;
    m_windowKnown = true;
    m_highlighted = picked.id;
    m_region = picked.region;
    showMark(m_region);
    if (m_changed)
        m_changed(m_region);
}

void RegionPicker::releaseAt(Point p) {
    if (m_ended || m_mode != RegionMode::Rectangle || !m_drag.active())
        return;
    m_drag.moveTo(p);
    m_region = m_drag.finish();
    end(true);
}

void RegionPicker::abort() {
    if (m_ended)
        return;
    m_region = m_before;
    end(false);
}

void RegionPicker::end(bool picked) {
    m_ended = true;
    hideMark();
    releaseMouse();
    releaseKeyboard();
    hide();
    if (m_finished)
        m_finished(picked, m_region);
}

void RegionPicker::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_view.isNull()) {
        painter.fillRect(rect(), QColor(128, 128, 128));
        return;
    }
    const QRect area = event->rect();
    painter.drawImage(area, m_view, area);
}

void RegionPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressAt(screenPoint(event));
}

void RegionPicker::mouseMoveEvent(QMouseEvent* event) { moveTo(screenPoint(event)); }

void RegionPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        releaseAt(screenPoint(event));
}

void RegionPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        abort();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace quib

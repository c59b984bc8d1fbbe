#include "region_picker.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "capture/region_frame.h"

namespace quib {

RegionPicker::RegionPicker(RegionMode mode, Bitmap24 screen, std::vector<WindowNode> windows,
                           const Rect& region)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint),
      m_mode(mode),
      m_picture(std::move(screen)),
      m_windows(std::move(windows)),
      m_region(region),
      m_before(region) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The wizard is modal; the layer must be too, or it gets no input while the wizard runs.
    setWindowModality(Qt::ApplicationModal);
    setMouseTracking(true);
    if (!m_picture.isNull())
        m_view = QImage(m_picture.pixels.data(), m_picture.width, m_picture.height, int(m_picture.stride()),
                        QImage::Format_BGR888);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_ratio = std::max<qreal>(screen->devicePixelRatio(), 1);
    setGeometry(0, 0, std::max(1, qRound(m_picture.width / m_ratio)),
                std::max(1, qRound(m_picture.height / m_ratio)));
    setCursor(mode == RegionMode::Rectangle ? Qt::CrossCursor : Qt::PointingHandCursor);
}

Point RegionPicker::toScreen(const QPointF& local) const {
    return Point{int(std::floor(local.x() * m_ratio)), int(std::floor(local.y() * m_ratio))};
}

QRect RegionPicker::toLocal(const Rect& pixels) const {
    const QRectF r(pixels.left / m_ratio, pixels.top / m_ratio, pixels.width() / m_ratio,
                   pixels.height() / m_ratio);
    return r.toAlignedRect();
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
    // Only the four edges change; repainting the whole region on every move would be slow.
    const Rect b = regionFrameBounds(m_picture, m_markedRegion);
    if (!b.isEmpty()) {
        constexpr int edge = 4;
        update(toLocal(Rect{b.left, b.top, b.right, std::min(b.bottom, b.top + edge)}));
        update(toLocal(Rect{b.left, std::max(b.top, b.bottom - edge), b.right, b.bottom}));
        update(toLocal(Rect{b.left, b.top, std::min(b.right, b.left + edge), b.bottom}));
        update(toLocal(Rect{std::max(b.left, b.right - edge), b.top, b.right, b.bottom}));
    }
    update(m_shownTag);
    m_shownTag = m_marked ? tagRect() : QRect();
    update(m_shownTag);
}

QString RegionPicker::tagText() const {
    const Rect r = normalizedRegion(m_markedRegion);
    return QString::fromStdString(regionLabelText(r)) +
           QStringLiteral("   %1 x %2").arg(r.width()).arg(r.height());
}

QRect RegionPicker::tagRect() const {
    const QRect r = toLocal(normalizedRegion(m_markedRegion));
    const QSize text = fontMetrics().size(Qt::TextSingleLine, tagText());
    QRect tag(0, 0, text.width() + 12, text.height() + 6);
    // Above the region's top-left corner when there is room, else just inside it; always on screen.
    const int y = r.top() - tag.height() - 2 >= 0 ? r.top() - tag.height() - 2 : r.top() + 6;
    tag.moveTo(std::clamp(r.left(), 0, std::max(0, width() - tag.width())),
               std::clamp(y, 0, std::max(0, height() - tag.height())));
    return tag;
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
    const QRectF source(area.left() * m_ratio, area.top() * m_ratio, area.width() * m_ratio,
                        area.height() * m_ratio);
    painter.drawImage(QRectF(area), m_view, source);
    if (m_marked && area.intersects(m_shownTag)) {
        painter.fillRect(m_shownTag, QColor(255, 255, 225));
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(m_shownTag.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(m_shownTag, Qt::AlignCenter, tagText());
    }
}

void RegionPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressAt(toScreen(event->position()));
}

void RegionPicker::mouseMoveEvent(QMouseEvent* event) {
    moveTo(toScreen(event->position()));
}

void RegionPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        releaseAt(toScreen(event->position()));
}

void RegionPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        abort();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace quib

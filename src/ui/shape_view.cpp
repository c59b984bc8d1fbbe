#include "shape_view.h"

#include <algorithm>
#include <cmath>

namespace quib {

QSize ShapeView::area(QSize widget) const {
    return QSize(std::max(1, int(std::lround(widget.width() * m_zoom))),
                 std::max(1, int(std::lround(widget.height() * m_zoom))));
}

PointD ShapeView::unit(QPoint widget, QSize widgetSize) const {
    const QSize a = area(widgetSize);
    const QPoint p = toArea(widget);
    return PointD{double(p.x()) / a.width(), double(p.y()) / a.height()};
}

void ShapeView::zoomAbout(QPoint widget, QSize widgetSize, double zoom) {
    const PointD u = unit(widget, widgetSize);
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const QSize a = area(widgetSize);
    m_scroll = widget - QPoint(int(std::lround(u.x * a.width())), int(std::lround(u.y * a.height())));
}

void ShapeView::reset() {
    m_zoom = 1.0;
    m_scroll = QPoint();
}

}  // namespace quib

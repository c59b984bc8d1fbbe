#pragma once

#include <QPoint>
#include <QSize>

#include "shapes/shape.h"

namespace quib {

// Where the shape editor's drawing area lies in the widget: its top-left corner in widget pixels
// and its size, the widget's size times the zoom factor. Every conversion between pointer pixels
// and unit coordinates goes through here, so the painting and the mouse always agree.
class ShapeView {
public:
    static constexpr double kMinZoom = 0.25;
    static constexpr double kMaxZoom = 8.0;

    double zoom() const { return m_zoom; }
    QPoint scroll() const { return m_scroll; }
    bool isDefault() const { return m_zoom == 1.0 && m_scroll.isNull(); }

    // The drawing area's size for a widget of the given size.
    QSize area(QSize widget) const;
    // A widget pixel in the drawing area's pixels, and back.
    QPoint toArea(QPoint widget) const { return widget - m_scroll; }
    QPoint toWidget(QPoint area) const { return area + m_scroll; }
    PointD unit(QPoint widget, QSize widgetSize) const;

    void panBy(QPoint offset) { m_scroll += offset; }
    // Sets the zoom (kept within its limits) so that the unit point under the pixel stays there.
    void zoomAbout(QPoint widget, QSize widgetSize, double zoom);
    void reset();

private:
    double m_zoom = 1.0;
    QPoint m_scroll;
};

}  // namespace quib

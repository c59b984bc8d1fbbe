#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "base/bitmap.h"
#include "capture/capture_region_rules.h"
#include "capture/window_pick.h"

namespace quib {

// The full-screen layer of a region pick: shows the screen as it was when the pick began and
// marks the region on it. Rectangle mode: press, drag and release span the region. Window mode:
// the window under the pointer is marked as it moves, a press takes it. Escape gives up and
// keeps the region as it was. The marks are drawn on the still picture, so nothing is ever
// drawn on other programs' windows.
class RegionPicker : public QWidget {
public:
    // finished(picked, region): the pick ended, with the region when picked.
    using FinishedFunction = std::function<void(bool picked, const Rect& region)>;
    using RegionFunction = std::function<void(const Rect& region)>;

    // screen: the primary screen's pixels (its size is the screen's); windows: as listed when
    // the pick began, topmost first; region: the region before the pick.
    RegionPicker(RegionMode mode, Bitmap24 screen, std::vector<WindowNode> windows, const Rect& region);

    void setFinishedFunction(FinishedFunction finished) { m_finished = std::move(finished); }
    // Called whenever the region changes under the pointer (the wizard's label follows it).
    void setRegionFunction(RegionFunction changed) { m_changed = std::move(changed); }

    // Covers the screen, takes the mouse and the keyboard; in Window mode marks the window under
    // pointer at once.
    void start(Point pointer);

    // The pointer input, in screen coordinates (the event handlers come here).
    void pressAt(Point p);
    void moveTo(Point p);
    void releaseAt(Point p);
    void abort();

    RegionMode mode() const { return m_mode; }
    const Rect& region() const { return m_region; }
    bool marked() const { return m_marked; }
    // The still picture with the mark as it is shown.
    const Bitmap24& picture() const { return m_picture; }
    uint32_t highlightedWindow() const { return m_highlighted; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Size screenSize() const { return Size{m_picture.width, m_picture.height}; }
    // Screen pixels and the layer's own coordinates differ by the device pixel ratio.
    Point toScreen(const QPointF& local) const;
    QRect toLocal(const Rect& pixels) const;
    void toggleMark();
    // The label of the marked region, drawn beside it (the wizard's own label is under the layer).
    QRect tagRect() const;
    QString tagText() const;
    void showMark(const Rect& region);
    void hideMark();
    void end(bool picked);

    RegionMode m_mode;
    Bitmap24 m_picture;
    QImage m_view;  // over m_picture's bytes
    qreal m_ratio = 1;
    std::vector<WindowNode> m_windows;
    Rect m_region;
    Rect m_before;
    RectangleDrag m_drag;
    bool m_marked = false;
    Rect m_markedRegion;
    QRect m_shownTag;
    uint32_t m_highlighted = 0;
    bool m_windowKnown = false;
    bool m_ended = false;
    FinishedFunction m_finished;
    RegionFunction m_changed;
};

}  // namespace quib

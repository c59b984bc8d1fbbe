#include "shapes/shape_transform.h"

#include <cmath>

#include "shapes/point_editing.h"
#include "shapes/shape_edit_history.h"

namespace quib {

namespace {

constexpr int kHalf = 3;  // handle half-size in pixels

bool onHandle(Point centre, int px, int py) {
    // The square reaches one pixel further right and down, as drawn.
    return px >= centre.x - kHalf && px <= centre.x + kHalf + 1 && py >= centre.y - kHalf &&
           py <= centre.y + kHalf + 1;
}

// Pixel extent of a shape's points along x or y.
double extent(const Shape& shape, bool horizontal, int w, int h) {
    const Range r = horizontal ? shape.GetXRange() : shape.GetYRange();
    return (r.max - r.min) * (horizontal ? w : h);
}

}  // namespace

Point rotationHandleCentre(const Rect& frame, double angle) {
    const double cx = (frame.left + frame.right) / 2.0, cy = (frame.top + frame.bottom) / 2.0;
    return Point{int(std::lround(cx + 0.375 * frame.width() * std::cos(angle))),
                 int(std::lround(cy - 0.375 * frame.height() * std::sin(angle)))};
}

std::vector<std::pair<int, Point>> sizingHandles(const Rect& frame) {
    const int mx = (frame.left + frame.right) / 2, my = (frame.top + frame.bottom) / 2;
    using namespace handle;
    return {{kLeft | kTop, {frame.left, frame.top}},
            {kTop, {mx, frame.top}},
            {kRight | kTop, {frame.right, frame.top}},
            {kLeft, {frame.left, my}},
            {kRight, {frame.right, my}},
            {kLeft | kBottom, {frame.left, frame.bottom}},
            {kBottom, {mx, frame.bottom}},
            {kRight | kBottom, {frame.right, frame.bottom}}};
}

int transformHandleAt(const Shape& shape, int px, int py, int w, int h, double rotation) {
    const Rect frame = shape.GetBounds(w, h);
    const bool inOuter = px >= frame.left - kHalf && px <= frame.right + kHalf && py >= frame.top - kHalf &&
                         py <= frame.bottom + kHalf;
    const bool inInner = px > frame.left + kHalf && px < frame.right - kHalf && py > frame.top + kHalf &&
                         py < frame.bottom - kHalf;
    if (inOuter && !inInner)
        for (const auto& [code, centre] : sizingHandles(frame))
            if (onHandle(centre, px, py))
                return code;
    if (onHandle(rotationHandleCentre(frame, rotation), px, py))
        return handle::kRotate;
    if (shape.DistanceToOutline(px, py, w, h) < 3)
        return handle::kMove;
    return -1;
}

ShapeTransform::ShapeTransform(Shapes& shapes, ShapeEditHistory& history, const Rect& frame, int code,
                               PointD start, int w, int h, TransformKeys keys, int time)
    : m_shapes(shapes),
      m_history(history),
      m_code(code),
      m_w(std::max(1, w)),
      m_h(std::max(1, h)),
      m_time(time),
      m_proportional(keys.shift && !keys.ctrl),
      m_ownCentre(code == handle::kRotate ? keys.shift && !keys.ctrl : keys.alt && !keys.ctrl && !keys.shift),
      m_allKeyframes(keys.ctrl && keys.shift),
      m_last(start) {
    const PointD centre{(frame.left + frame.right) / 2.0 / m_w, (frame.top + frame.bottom) / 2.0 / m_h};
    if (code == handle::kRotate || m_ownCentre) {
        m_pivot = centre;
    } else {
        m_pivot = PointD{double(code & handle::kLeft ? frame.right : frame.left) / m_w,
                         double(code & handle::kTop ? frame.bottom : frame.top) / m_h};
    }
    m_angle = std::atan2((m_pivot.y - start.y) * m_h, (start.x - m_pivot.x) * m_w);
}

void ShapeTransform::record() {
    int count = 0;
    for (size_t i = 0; i < m_shapes.size(); ++i) {
        Shape& shape = *m_shapes[i];
        if (!shape.selected)
            continue;
        if (!shape.HasKeyframe(m_time))
            shape.AddKeyframe(m_time);
        if (m_allKeyframes)
            m_history.recordAllPoints(int(i));
        else
            m_history.recordPoints(int(i), m_time);
        ++count;
    }
    m_history.recordGroup(count, "Trasforma Forme");
    m_recorded = true;
}

template <typename Change>
void ShapeTransform::changeSelected(Change change) {
    if (!m_recorded)
        record();
    for (auto& shape : m_shapes) {
        if (!shape->selected)
            continue;
        const PointD centre = shape->GetCenter();
        std::vector<PointD>& points = m_allKeyframes ? shape->keyframePoints : shape->current;
        for (PointD& p : points)
            p = change(p, centre);
        shape->Update(m_time, !m_allKeyframes);
    }
}

bool ShapeTransform::scale(PointD u) {
    const bool sx = m_code & (handle::kLeft | handle::kRight);
    const bool sy = m_code & (handle::kTop | handle::kBottom);
    PointD last = m_last;
    if (std::fabs(last.x - m_pivot.x) < 0.0005)
        last.x += 0.0005;
    if (std::fabs(last.y - m_pivot.y) < 0.0005)
        last.y += 0.0005;
    double fx = sx ? (u.x - m_pivot.x) / (last.x - m_pivot.x) : 1;
    double fy = sy ? (u.y - m_pivot.y) / (last.y - m_pivot.y) : 1;
    if (m_proportional) {
        fx = fy = sx ? fx : fy;
    }
    if (!std::isfinite(fx) || !std::isfinite(fy))
        return false;
    // A shape already thinner than 3 pixels is not shrunk further; the step waits.
    for (const auto& shape : m_shapes) {
        if (!shape->selected)
            continue;
        if ((fx < 1 && extent(*shape, true, m_w, m_h) < 3) || (fy < 1 && extent(*shape, false, m_w, m_h) < 3))
            return false;
    }
    const PointD pivot = m_pivot;
    const bool own = m_ownCentre;
    changeSelected([&](PointD p, PointD centre) {
        const PointD o = own ? centre : pivot;
        return PointD{o.x + (p.x - o.x) * fx, o.y + (p.y - o.y) * fy};
    });
    return true;
}

void ShapeTransform::rotate(PointD u) {
    const double angle = std::atan2((m_pivot.y - u.y) * m_h, (u.x - m_pivot.x) * m_w);
    const double turn = angle - m_angle;
    const double c = std::cos(turn), s = std::sin(turn);
    const PointD pivot = m_pivot;
    const bool own = m_ownCentre;
    const double w = m_w, h = m_h;
    changeSelected([&](PointD p, PointD centre) {
        const PointD o = own ? centre : pivot;
        // Pixel space with y pointing up, so the turn follows the pointer on screen.
        const double dx = (p.x - o.x) * w, dy = (o.y - p.y) * h;
        return PointD{o.x + (dx * c - dy * s) / w, o.y - (dx * s + dy * c) / h};
    });
    m_angle = angle;
}

bool ShapeTransform::dragTo(PointD u) {
    if (u == m_last)
        return false;
    if (m_code == handle::kRotate) {
        rotate(u);
    } else if (m_code == handle::kMove) {
        const double dx = u.x - m_last.x, dy = u.y - m_last.y;
        changeSelected([&](PointD p, PointD) { return PointD{p.x + dx, p.y + dy}; });
    } else if (!scale(u)) {
        return false;
    }
    m_last = u;
    return true;
}

void ShapeTransform::finish() {
    if (!m_recorded)
        return;
    for (auto& shape : m_shapes) {
        if (!shape->selected)
            continue;
        if (m_allKeyframes)
            shape->Update(m_time, false);
        else
            storeCurrentPoints(*shape, m_time);
    }
}

}  // namespace quib

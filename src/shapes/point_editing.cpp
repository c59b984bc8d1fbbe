#include "shapes/point_editing.h"

#include <cmath>

#include "shapes/curve_shape.h"

namespace quib {

namespace {

constexpr double kLinkAngle = 0.05235987756666667;  // 3 degrees

// The control point across anchor a from control point i, allowing for a closed curve's seam.
int oppositeControl(const Shape& shape, int i, int a) {
    const int n = shape.pointCount;
    const int opposite = 2 * a - i;
    if (opposite >= 0 && opposite < n)
        return opposite;
    if (!shape.closed || n < 7)
        return -1;
    return a == 0 ? n - 2 : 1;
}

}  // namespace

PointHit nearestSelectedPoint(const std::vector<std::unique_ptr<Shape>>& shapes, PointD u, int w, int h,
                              int currentShape, int currentIndex) {
    PointHit hit;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (!shapes[i]->selected)
            continue;
        int index = -1;
        double d = hit.distanceSquared;
        shapes[i]->NearestPoint(u.x, u.y, w, h, d, index, int(i) == currentShape ? currentIndex : -1);
        if (index >= 0 && d < hit.distanceSquared)
            hit = PointHit{int(i), index, d};
    }
    return hit;
}

int linkedControlPoint(const Shape& shape, int index, int w, int h) {
    if (shape.type() != ShapeType::Curve || index < 0 || index >= int(shape.current.size()) || index % 3 == 0)
        return -1;
    const int a = CurveShape::anchorOf(index);
    const int opposite = oppositeControl(shape, index, a);
    if (opposite < 0 || a >= int(shape.current.size()))
        return -1;
    const PointD& c = shape.current[size_t(index)];
    const PointD& anchor = shape.current[size_t(a)];
    const PointD& o = shape.current[size_t(opposite)];
    const double a1 = std::atan2((anchor.y - c.y) * h, (anchor.x - c.x) * w);
    const double a2 = std::atan2((o.y - anchor.y) * h, (o.x - anchor.x) * w);
    double diff = std::fabs(a1 - a2);
    if (diff > M_PI)
        diff = 2 * M_PI - diff;
    return diff < kLinkAngle ? opposite : -1;
}

void movePoint(Shape& shape, int index, PointD u, int linked, int w, int h, int time) {
    std::vector<PointD>& p = shape.current;
    const int n = int(p.size());
    if (index < 0 || index >= n)
        return;
    const bool seam = shape.closed && n > 1 && (index == 0 || index == n - 1);
    if (shape.type() != ShapeType::Curve) {
        p[size_t(index)] = u;
        if (seam)
            p[0] = p[size_t(n - 1)] = u;
    } else if (index % 3 == 0) {
        const double dx = u.x - p[size_t(index)].x, dy = u.y - p[size_t(index)].y;
        std::vector<int> moving{index - 1, index, index + 1};
        if (seam)
            moving = {1, 0, n - 1, n - 2};
        for (int i : moving)
            if (i >= 0 && i < n) {
                p[size_t(i)].x += dx;
                p[size_t(i)].y += dy;
            }
    } else {
        p[size_t(index)] = u;
        if (linked >= 0 && linked < n) {
            const PointD anchor = p[size_t(CurveShape::anchorOf(index))];
            PointD& o = p[size_t(linked)];
            const double keep = std::hypot((o.x - anchor.x) * w, (o.y - anchor.y) * h);
            const double ux = (anchor.x - u.x) * w, uy = (anchor.y - u.y) * h;
            const double l = std::hypot(ux, uy);
            if (l > 0)
                o = PointD{anchor.x + ux / l * keep / w, anchor.y + uy / l * keep / h};
        }
    }
    shape.Update(time, true);
}

void storeCurrentPoints(Shape& shape, int time) {
    if (!shape.HasKeyframe(time))
        shape.AddKeyframe(time);
    const int k = shape.KeyframeIndex(time);
    if (k >= 0 && shape.current.size() == size_t(shape.pointCount))
        std::copy(shape.current.begin(), shape.current.end(),
                  shape.keyframePoints.begin() + ptrdiff_t(k) * shape.pointCount);
    shape.Update(time, false);
}

}  // namespace quib

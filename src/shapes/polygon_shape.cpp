#include "shapes/polygon_shape.h"

#include <cmath>

#include "shapes/curve_shape.h"

namespace quib {

namespace {

PointD unit(PointD v) {
    const double length = std::hypot(v.x, v.y);
    return length > 0 ? PointD{v.x / length, v.y / length} : PointD{};
}

double squaredDistance(PointD a, PointD b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

}  // namespace

int PolygonShape::InsertPoint(double x, double y, int w, int h) {
    if (pointCount < 2 || current.size() < size_t(pointCount))
        return -1;
    const PointD click{double(pixelTrunc(x, w)), double(pixelTrunc(y, h))};
    double best = 1000000;
    int bestIndex = -1;
    for (int i = 0; i + 1 < pointCount; ++i) {
        const PointD a{current[size_t(i)].x * w, current[size_t(i)].y * h};
        const PointD b{current[size_t(i + 1)].x * w, current[size_t(i + 1)].y * h};
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double lengthSquared = dx * dx + dy * dy;
        double t = lengthSquared > 0 ? ((click.x - a.x) * dx + (click.y - a.y) * dy) / lengthSquared : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double d = std::hypot(click.x - (a.x + dx * t), click.y - (a.y + dy * t));
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    if (bestIndex < 0)
        return -1;
    const PointD a{current[size_t(bestIndex)].x * w, current[size_t(bestIndex)].y * h};
    const PointD b{current[size_t(bestIndex + 1)].x * w, current[size_t(bestIndex + 1)].y * h};
    const double segment = std::hypot(b.x - a.x, b.y - a.y);
    const double r = segment > 0 ? std::hypot(click.x - a.x, click.y - a.y) / segment : 0;
    const int at = bestIndex + 1;
    insertPoints(at, 1, [&](int k, int) {
        const PointD& p = keyframePoint(k, at - 1);
        const PointD& q = keyframePoint(k, at);
        return PointD{p.x + (q.x - p.x) * r, p.y + (q.y - p.y) * r};
    });
    return at;
}

bool PolygonShape::DeletePoint(int index) {
    if (pointCount < 2 || index < 0 || index >= pointCount)
        return false;
    const bool wasLast = index == pointCount - 1;
    removePoints(index, 1);
    if (closed) {
        for (int k = 0; k < keyframeCount(); ++k) {
            if (index == 0)
                keyframePoint(k, pointCount - 1) = keyframePoint(k, 0);
            else if (wasLast)
                keyframePoint(k, 0) = keyframePoint(k, pointCount - 1);
        }
    }
    return true;
}

void PolygonShape::Draw(raster::DrawContext& dc, int w, int h, bool showHandles,
                        const raster::Pen& outlinePen, const raster::Pen& handlePen, const raster::Pen&,
                        int) const {
    std::vector<Point> points;
    points.reserve(outline.size());
    for (const PointD& p : outline)
        points.push_back(Point{pixelRound(p.x, w), pixelRound(p.y, h)});
    const raster::Pen oldPen = dc.setPen(outlinePen);
    const raster::Brush oldBrush = dc.brush();
    dc.polyline(points);
    if (showHandles) {
        dc.setBrush(raster::Brush::hollowBrush());
        dc.setPen(handlePen);
        for (const Point& p : points)
            dc.rectangle(Rect{p.x - 3, p.y - 3, p.x + 3, p.y + 3});
    }
    dc.setPen(oldPen);
    dc.setBrush(oldBrush);
}

std::vector<PointD> PolygonShape::SampleOutline(const std::vector<double>& fractions, int w, int h) {
    return samplePolyline(current, fractions, OutlineLength(w, h), w, h);
}

double PolygonShape::OutlineLength(int w, int h) {
    return polylineLength(outline, w, h);
}

std::unique_ptr<Shape> PolygonShape::Clone() const {
    auto copy = std::make_unique<PolygonShape>();
    CloneInto(*copy);
    return copy;
}

bool PolygonShape::ToggleClosed() {
    if (closed) {
        if (pointCount >= 1)
            removePoints(pointCount - 1, 1);
    } else if (pointCount >= 1) {
        insertPoints(pointCount, 1, [&](int k, int) { return keyframePoint(k, 0); });
    }
    closed = !closed;
    return closed;
}

std::unique_ptr<CurveShape> PolygonShape::ToCurve(int w, int h) const {
    auto curve = std::make_unique<CurveShape>();
    curve->name = name;
    curve->selected = selected;
    curve->closed = closed;
    curve->keyframeTimes = keyframeTimes;
    const int n = pointCount;
    if (n <= 0)
        return curve;
    const int m = 3 * n - 2;
    curve->pointCount = m;
    curve->keyframePoints.assign(size_t(keyframeCount()) * size_t(m), PointD{});
    const double sw = w > 0 ? w : 1;
    const double sh = h > 0 ? h : 1;
    for (int k = 0; k < keyframeCount(); ++k) {
        auto out = [&](int i) -> PointD& { return curve->keyframePoint(k, i); };
        for (int i = 0; i < n; ++i)
            out(3 * i) = keyframePoint(k, i);
        if (n >= 2) {
            out(1) = keyframePoint(k, 0);
            out(m - 2) = keyframePoint(k, n - 1);
        }
        // Control points of an anchor P with neighbours A and B, in pixels: both lie 10 pixels
        // from P across the bisector of the corner, the outgoing one on B's side.
        auto smooth = [&](PointD A, PointD P, PointD B, PointD& incoming, PointD& outgoing) {
            const PointD u = unit(PointD{(A.x - P.x) * sw, (A.y - P.y) * sh});
            const PointD v = unit(PointD{(B.x - P.x) * sw, (B.y - P.y) * sh});
            PointD m2 = unit(PointD{u.x + v.x, u.y + v.y});
            if (m2.x == 0 && m2.y == 0)
                m2 = PointD{-u.y, u.x};  // straight through: tangent along the line
            m2 = PointD{m2.x / 2, m2.y / 2};
            const PointD d{m2.y, -m2.x};
            const double sign = squaredDistance(v, d) <= squaredDistance(u, d) ? 1.0 : -1.0;
            outgoing = PointD{P.x + sign * d.x * 20 / sw, P.y + sign * d.y * 20 / sh};
            incoming = PointD{P.x - sign * d.x * 20 / sw, P.y - sign * d.y * 20 / sh};
        };
        for (int i = 1; i + 1 < n; ++i)
            smooth(keyframePoint(k, i - 1), keyframePoint(k, i), keyframePoint(k, i + 1), out(3 * i - 1),
                   out(3 * i + 1));
        if (closed && n >= 3) {
            PointD outgoing;
            smooth(keyframePoint(k, n - 2), keyframePoint(k, n - 1), keyframePoint(k, 1), out(m - 2),
                   outgoing);
            out(1) = outgoing;
        }
    }
    return curve;
}

}  // namespace quib

#include "shapes/curve_shape.h"

#include <cmath>
#include <limits>

#include "shapes/polygon_shape.h"

namespace quib {

namespace {

constexpr double kFlatAngle = 0.034906585044444445;  // 2 degrees

PointD scaled(PointD p, double w, double h) {
    return PointD{p.x * w, p.y * h};
}

// Estimated pixel length of one segment: ten samples of |B'(t)|.
double segmentLength(const PointD* p, int w, int h) {
    BezierSegment s(p);
    double sum = 0;
    for (int i = 0; i < 10; ++i) {
        PointD d = s.derivative(0.05 + 0.1 * i);
        sum += std::hypot(d.x * w, d.y * h);
    }
    return sum * 0.1;
}

}  // namespace

BezierSegment::BezierSegment(const PointD* p) : p0(p[0]) {
    c = PointD{3 * (p[1].x - p[0].x), 3 * (p[1].y - p[0].y)};
    b = PointD{3 * (p[2].x - p[1].x) - c.x, 3 * (p[2].y - p[1].y) - c.y};
    a = PointD{p[3].x - p[0].x - c.x - b.x, p[3].y - p[0].y - c.y - b.y};
}

PointD BezierSegment::at(double t) const {
    return PointD{((a.x * t + b.x) * t + c.x) * t + p0.x, ((a.y * t + b.y) * t + c.y) * t + p0.y};
}

PointD BezierSegment::derivative(double t) const {
    return PointD{(3 * a.x * t + 2 * b.x) * t + c.x, (3 * a.y * t + 2 * b.y) * t + c.y};
}

void CurveShape::rebuildOutline() {
    if (current.empty())
        return;
    outline.clear();
    outline.push_back(current[0]);
    for (int s = 0; s < segmentCount(); ++s) {
        const PointD* p = &current[size_t(3 * s)];
        for (int i = 0; i < 10; ++i)
            flatten(p, i / 10.0, (i + 1) / 10.0);
    }
}

void CurveShape::flatten(const PointD* segment, double ta, double tb) {
    const BezierSegment s(segment);
    // Intervals halve on every level and stop below 0.01, so the recursion stays shallow.
    while (std::fabs(ta - tb) >= 0.01) {
        const double tm = (ta + tb) / 2;
        const double q1 = (ta + tm) / 2;
        const double q2 = (tm + tb) / 2;
        const PointD A = s.at(ta), Q1 = s.at(q1), Q2 = s.at(q2), B = s.at(tb);
        const PointD u{A.x - Q1.x, A.y - Q1.y};
        const PointD v{Q2.x - B.x, Q2.y - B.y};
        const double angle = std::atan2(u.y * v.x - v.y * u.x, u.x * v.x + u.y * v.y);
        if (angle > -kFlatAngle && angle < kFlatAngle)
            break;
        flatten(segment, ta, tm);
        ta = tm;
    }
    const PointD end = s.at(tb);
    AppendOutlinePoint(end.x, end.y);
}

double CurveShape::OutlineLength(int w, int h) {
    double total = 0;
    if (current.size() >= size_t(pointCount))
        for (int s = 0; s < segmentCount(); ++s)
            total += segmentLength(&current[size_t(3 * s)], w, h);
    curveLength = total;
    return total;
}

int CurveShape::InsertPoint(double x, double y, int w, int h) {
    if (segmentCount() < 1 || current.size() < size_t(pointCount) || outline.size() < 2 || w <= 0 || h <= 0)
        return -1;
    // 1. Arc length of the click: the end of the nearest flattened segment, rescaled from the
    //    polyline's length to the curve's estimated length.
    const PointD click{double(pixelTrunc(x, w)), double(pixelTrunc(y, h))};
    double best = 1000000, accumulated = 0, d = 0;
    for (size_t i = 0; i + 1 < outline.size(); ++i) {
        const PointD a = scaled(outline[i], w, h), b = scaled(outline[i + 1], w, h);
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double ls = dx * dx + dy * dy;
        double t = ls > 0 ? std::clamp(((click.x - a.x) * dx + (click.y - a.y) * dy) / ls, 0.0, 1.0) : 0;
        const double dist = std::hypot(click.x - (a.x + dx * t), click.y - (a.y + dy * t));
        accumulated += std::sqrt(ls);
        if (dist < best) {
            best = dist;
            d = accumulated;
        }
    }
    const double polylineLength = accumulated;
    const double curveTotal = OutlineLength(w, h);
    if (polylineLength <= 0)
        return -1;
    const double target = d / polylineLength * curveTotal;

    // 2. The Bezier segment whose estimated length range holds the target strictly.
    int split = -1;
    double before = 0, after = 0;
    for (int s = 0; s < segmentCount(); ++s) {
        after = before + segmentLength(&current[size_t(3 * s)], w, h);
        if (target > before && target < after) {
            split = s;
            break;
        }
        before = after;
    }
    if (split < 0)
        return -1;

    // 3. Parameter, refined by Newton steps on x toward the click. A step that leaves the segment
    //    or fails to settle keeps the estimate from the arc length.
    const double estimate = (target - before) / (after - before);
    double t = estimate;
    {
        const BezierSegment s(&current[size_t(3 * split)]);
        for (int iteration = 0; iteration < 50; ++iteration) {
            const double slope = s.derivative(t).x;
            if (slope == 0)
                break;
            const double correction = (s.at(t).x - x) / slope;
            t -= correction;
            if (!(std::fabs(correction) > 0.00001))
                break;
        }
        if (!(t > 0.0 && t < 1.0))
            t = estimate;
    }

    // 4. Re-fit both halves in every keyframe against samples of the unsplit segment.
    std::vector<PointD> newPoints;
    newPoints.reserve(size_t(keyframeCount()) * size_t(pointCount + 3));
    for (int k = 0; k < keyframeCount(); ++k) {
        PointD p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = scaled(keyframePoint(k, 3 * split + i), w, h);
        const BezierSegment s(p);
        const PointD middle = s.at(t);
        const double delta = 0.001;
        // Fits the half from the new anchor toward `outer`; `inner` is the control point next to
        // the new anchor, `far` the one next to the outer anchor.
        auto fitHalf = [&](double from, double to, PointD outer, PointD farStart, PointD& inner,
                           PointD& far) {
            PointD samples[25];
            for (int i = 0; i < 25; ++i)
                samples[i] = s.at(from + (to - from) * (i + 1) / 25.0);
            const double towardHalf = to > from ? 1.0 : -1.0;
            const PointD probe = s.at(t + towardHalf * delta);
            const PointD tangent{probe.x - middle.x, probe.y - middle.y};
            const double tangentLength = std::hypot(tangent.x, tangent.y);
            const PointD unitTangent =
                tangentLength > 0 ? PointD{tangent.x / tangentLength, tangent.y / tangentLength} : PointD{};
            const PointD innerStart{middle.x + 5 * tangent.x, middle.y + 5 * tangent.y};
            double bestError = std::numeric_limits<double>::infinity();
            inner = innerStart;
            far = farStart;
            for (int i = 0; i < 100; ++i) {
                const PointD candidateInner{innerStart.x + unitTangent.x * 3 * i,
                                            innerStart.y + unitTangent.y * 3 * i};
                for (int j = 0; j < 100; ++j) {
                    const PointD candidateFar{farStart.x + (outer.x - farStart.x) * j / 103.0,
                                              farStart.y + (outer.y - farStart.y) * j / 103.0};
                    // Both halves are fitted running away from the new anchor; for [0, t] that is
                    // the reversed segment, which has the same shape.
                    const PointD q[4] = {middle, candidateInner, candidateFar, outer};
                    const BezierSegment c(q);
                    double error = 0;
                    for (int m = 0; m < 25 && error < bestError; ++m) {
                        const PointD e = c.at(0.04 * (m + 1));
                        error += (e.x - samples[m].x) * (e.x - samples[m].x) +
                                 (e.y - samples[m].y) * (e.y - samples[m].y);
                    }
                    if (error < bestError) {
                        bestError = error;
                        inner = candidateInner;
                        far = candidateFar;
                    }
                }
            }
        };
        PointD firstInner, firstFar, secondInner, secondFar;
        fitHalf(t, 0.0, p[0], p[1], firstInner, firstFar);    // half [0, t], sampled from t down to 0
        fitHalf(t, 1.0, p[3], p[2], secondInner, secondFar);  // half [t, 1]
        auto unitPoint = [&](PointD q) { return PointD{q.x / w, q.y / h}; };
        for (int j = 0; j <= 3 * split; ++j)
            newPoints.push_back(keyframePoint(k, j));
        newPoints.push_back(unitPoint(firstFar));
        newPoints.push_back(unitPoint(firstInner));
        newPoints.push_back(unitPoint(middle));
        newPoints.push_back(unitPoint(secondInner));
        newPoints.push_back(unitPoint(secondFar));
        for (int j = 3 * split + 3; j < pointCount; ++j)
            newPoints.push_back(keyframePoint(k, j));
    }
    keyframePoints = std::move(newPoints);
    pointCount += 3;
    return 3 * split + 3;
}

bool CurveShape::DeletePoint(int index) {
    if (pointCount < 4)
        return false;
    const int a = anchorOf(index);
    if (index < 0 || index >= pointCount || a >= pointCount)
        return false;
    const bool first = a == 0;
    const bool last = a == pointCount - 1;
    const int start = first ? 0 : last ? a - 2 : a - 1;
    removePoints(start, 3);
    if (closed) {
        for (int k = 0; k < keyframeCount(); ++k) {
            if (first)
                keyframePoint(k, pointCount - 1) = keyframePoint(k, 0);
            else if (last)
                keyframePoint(k, 0) = keyframePoint(k, pointCount - 1);
        }
    }
    return true;
}

void CurveShape::Draw(raster::DrawContext& dc, int w, int h, bool showHandles, const raster::Pen& outlinePen,
                      const raster::Pen& handlePen, const raster::Pen& controlPen, int selectedIndex) const {
    std::vector<Point> points;
    points.reserve(outline.size());
    for (const PointD& p : outline)
        points.push_back(Point{pixelRound(p.x, w), pixelRound(p.y, h)});
    const raster::Pen oldPen = dc.setPen(outlinePen);
    const raster::Brush oldBrush = dc.setBrush(raster::Brush::hollowBrush());
    dc.polyline(points);
    if (showHandles && current.size() >= size_t(pointCount)) {
        auto at = [&](int i) {
            return Point{pixelRound(current[size_t(i)].x, w), pixelRound(current[size_t(i)].y, h)};
        };
        const int selectedAnchor = selectedIndex >= 0 ? anchorOf(selectedIndex) : -1;
        for (int s = 0; s < segmentCount(); ++s) {
            dc.setPen(controlPen);
            if (selectedIndex >= 0 && selectedAnchor == 3 * s) {
                const Point c = at(3 * s + 1);
                dc.line(at(3 * s), c);
                dc.ellipse(Rect{c.x - 3, c.y - 3, c.x + 3, c.y + 3});
            }
            if (selectedIndex >= 0 && selectedAnchor == 3 * s + 3) {
                const Point c = at(3 * s + 2);
                dc.line(at(3 * s + 3), c);
                dc.ellipse(Rect{c.x - 3, c.y - 3, c.x + 3, c.y + 3});
            }
            dc.setPen(handlePen);
            if (s == 0) {
                const Point a = at(0);
                dc.rectangle(Rect{a.x - 3, a.y - 3, a.x + 3, a.y + 3});
            }
            const Point a = at(3 * s + 3);
            dc.rectangle(Rect{a.x - 3, a.y - 3, a.x + 3, a.y + 3});
        }
    }
    dc.setPen(oldPen);
    dc.setBrush(oldBrush);
}

std::vector<PointD> CurveShape::SampleOutline(const std::vector<double>& fractions, int w, int h) {
    return samplePolyline(outline, fractions, OutlineLength(w, h), w, h);
}

std::unique_ptr<Shape> CurveShape::Clone() const {
    auto copy = std::make_unique<CurveShape>();
    CloneInto(*copy);
    copy->curveLength = curveLength;
    return copy;
}

bool CurveShape::ToggleClosed() {
    if (closed) {
        if (pointCount >= 4)
            removePoints(pointCount - 3, 3);
    } else if (pointCount >= 1) {
        const int last = pointCount - 1;
        insertPoints(pointCount, 3, [&](int k, int c) {
            const PointD L = keyframePoint(k, last);
            const PointD F = keyframePoint(k, 0);
            const double r = (c + 1) / 3.0;
            return c == 2 ? F : PointD{L.x + (F.x - L.x) * r, L.y + (F.y - L.y) * r};
        });
    }
    closed = !closed;
    return closed;
}

bool CurveShape::isNearestPointCandidate(int index, int selectedIndex) const {
    if (index % 3 == 0)
        return true;
    if (selectedIndex < 0)
        return false;
    return std::abs(index - anchorOf(selectedIndex)) < 2;
}

std::unique_ptr<PolygonShape> CurveShape::ToPolygon() const {
    auto polygon = std::make_unique<PolygonShape>();
    polygon->name = name;
    polygon->selected = selected;
    polygon->closed = closed;
    polygon->keyframeTimes = keyframeTimes;
    const int n = pointCount >= 1 ? (pointCount + 2) / 3 : 0;
    polygon->pointCount = n;
    for (int k = 0; k < keyframeCount(); ++k)
        for (int i = 0; i < n; ++i)
            polygon->keyframePoints.push_back(keyframePoint(k, 3 * i));
    return polygon;
}

}  // namespace quib

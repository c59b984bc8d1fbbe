#include "path.h"

#include <algorithm>
#include <cmath>

namespace quib::player {

namespace {
// A curve is never cut into more pieces than this, whatever its transformed size.
constexpr int MaxCurvePieces = 256;
}  // namespace

void Path::moveTo(PointF p) {
    m_elements.push_back({Element::Kind::Move, {}, p});
}

void Path::lineTo(PointF p) {
    if (m_elements.empty())
        moveTo({});
    m_elements.push_back({Element::Kind::Line, {}, p});
}

void Path::quadTo(PointF control, PointF to) {
    if (m_elements.empty())
        moveTo({});
    m_elements.push_back({Element::Kind::Quad, control, to});
}

std::vector<Polygon> Path::flattened(const Transform& transform) const {
    std::vector<Polygon> out;
    PointF last;
    for (const Element& e : m_elements) {
        const PointF to = transform.map(e.to);
        switch (e.kind) {
            case Element::Kind::Move:
                out.push_back({to});
                break;
            case Element::Kind::Line:
                out.back().push_back(to);
                break;
            case Element::Kind::Quad: {
                const PointF c = transform.map(e.control);
                // The deviation of a quadratic piece shrinks with the square of the count.
                const double dx = last.x - 2 * c.x + to.x, dy = last.y - 2 * c.y + to.y;
                const double deviation = std::sqrt(dx * dx + dy * dy);
                const int pieces = std::isfinite(deviation)
                                       ? std::clamp(int(std::ceil(std::sqrt(deviation))), 1, MaxCurvePieces)
                                       : 1;
                for (int i = 1; i <= pieces; ++i) {
                    const double t = double(i) / pieces, u = 1 - t;
                    out.back().push_back({u * u * last.x + 2 * u * t * c.x + t * t * to.x,
                                          u * u * last.y + 2 * u * t * c.y + t * t * to.y});
                }
                break;
            }
        }
        last = to;
    }
    return out;
}

bool Path::contains(PointF p) const {
    return evenOddContains(flattened(Transform()), p);
}

RectF Path::boundingRect() const {
    const std::vector<Polygon> outlines = flattened(Transform());
    if (outlines.empty())
        return {};
    RectF r{outlines[0][0].x, outlines[0][0].y, outlines[0][0].x, outlines[0][0].y};
    for (const Polygon& polygon : outlines)
        for (PointF p : polygon) {
            r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
            r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y);
        }
    return r;
}

bool evenOddContains(const std::vector<Polygon>& polygons, PointF p) {
    bool inside = false;
    for (const Polygon& polygon : polygons) {
        const size_t n = polygon.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const PointF a = polygon[i], b = polygon[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    }
    return inside;
}

}  // namespace quib::player

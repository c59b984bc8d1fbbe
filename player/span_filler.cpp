#include "span_filler.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quib::player {

namespace {

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
};

int pixelAt(double edge) {
    // The first pixel whose centre is at or right of edge.
    const double v = std::ceil(edge - 0.5);
    if (!(v > -1e9))
        return std::numeric_limits<int>::min() / 2;
    if (v > 1e9)
        return std::numeric_limits<int>::max() / 2;
    return int(v);
}

}  // namespace

void fillSpans(const std::vector<Polygon>& polygons, int width, int height,
               const std::function<void(int y, int x0, int x1)>& span) {
    std::vector<Edge> edges;
    double top = std::numeric_limits<double>::infinity(), bottom = -top;
    for (const Polygon& polygon : polygons) {
        const size_t n = polygon.size();
        for (size_t i = 0; i < n; ++i) {
            PointF a = polygon[i], b = polygon[(i + 1) % n];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
                return;
            if (a.y == b.y)
                continue;
            if (a.y > b.y)
                std::swap(a, b);
            edges.push_back({a.x, a.y, b.x, b.y});
            top = std::min(top, a.y);
            bottom = std::max(bottom, b.y);
        }
    }
    if (edges.empty())
        return;
    const int firstRow = std::max(0, pixelAt(top));
    const int endRow = std::min(height, pixelAt(bottom));
    std::vector<double> crossings;
    for (int y = firstRow; y < endRow; ++y) {
        const double cy = y + 0.5;
        crossings.clear();
        for (const Edge& e : edges)
            if (cy >= e.y0 && cy < e.y1)
                crossings.push_back(e.x0 + (cy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0));
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int x0 = std::max(0, pixelAt(crossings[i]));
            const int x1 = std::min(width, pixelAt(crossings[i + 1]));
            if (x0 < x1)
                span(y, x0, x1);
        }
    }
}

}  // namespace quib::player

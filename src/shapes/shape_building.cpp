#include "shapes/shape_building.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "shapes/curve_fitting.h"
#include "shapes/curve_shape.h"
#include "shapes/polygon_shape.h"

namespace quib {

PointD dragCorner(const ShapeDrag& drag) {
    if (!drag.proportional)
        return drag.end;
    // The smaller signed extent wins, as the pointer is read; it then holds for both directions.
    const double extent =
        std::min((drag.end.x - drag.start.x) * drag.w, (drag.end.y - drag.start.y) * drag.h);
    return PointD{drag.start.x + extent / drag.w, drag.start.y + extent / drag.h};
}

std::vector<PointD> rectanglePoints(const ShapeDrag& drag) {
    const PointD a = drag.start;
    const PointD b = dragCorner(drag);
    return {a, {a.x, b.y}, b, {b.x, a.y}, a};
}

std::vector<PointD> ellipsePoints(const ShapeDrag& drag) {
    const PointD a = drag.start;
    const PointD b = dragCorner(drag);
    const double w = b.x - a.x, h = b.y - a.y;
    const double x0 = a.x, y0 = a.y;
    return {{x0 + w / 2, y0},         {x0 + w / 4, y0},     {x0, y0 + h / 4},     {x0, y0 + h / 2},
            {x0, y0 + 3 * h / 4},     {x0 + w / 4, y0 + h}, {x0 + w / 2, y0 + h}, {x0 + 3 * w / 4, y0 + h},
            {x0 + w, y0 + 3 * h / 4}, {x0 + w, y0 + h / 2}, {x0 + w, y0 + h / 4}, {x0 + 3 * w / 4, y0},
            {x0 + w / 2, y0}};
}

namespace {

std::unique_ptr<Shape> finish(std::unique_ptr<Shape> shape, const std::vector<PointD>& points,
                              const ShapePen& pen, bool closed = true) {
    shape->colour = pen.colour;
    shape->penWidth = pen.width;
    shape->penStyle = pen.style;
    shape->closed = closed;
    shape->SetPoints(points);
    return shape;
}

}  // namespace

std::unique_ptr<Shape> makeRectangle(const ShapeDrag& drag, const ShapePen& pen) {
    return finish(std::make_unique<PolygonShape>(), rectanglePoints(drag), pen);
}

std::unique_ptr<Shape> makeEllipse(const ShapeDrag& drag, const ShapePen& pen) {
    return finish(std::make_unique<CurveShape>(), ellipsePoints(drag), pen);
}

std::unique_ptr<Shape> makePolyline(const std::vector<PointD>& vertices, const ShapePen& pen) {
    if (vertices.size() < 2)
        return nullptr;
    return finish(std::make_unique<PolygonShape>(), vertices, pen, false);
}

std::unique_ptr<Shape> makeFreehand(const std::vector<PointD>& stroke, int w, int h, const ShapePen& pen) {
    std::vector<PointD> points = fitBezierChain(stroke, 25);
    if (points.empty())
        return nullptr;
    w = std::max(1, w);
    h = std::max(1, h);
    for (PointD& p : points)
        p = PointD{p.x / w, p.y / h};
    return finish(std::make_unique<CurveShape>(), points, pen, false);
}

void moveShape(Shape& shape, double dx, double dy) {
    for (PointD& p : shape.keyframePoints) {
        p.x += dx;
        p.y += dy;
    }
    shape.Update(0, false);
}

std::vector<int> selectedShapes(const std::vector<std::unique_ptr<Shape>>& shapes) {
    std::vector<int> selected;
    for (size_t i = 0; i < shapes.size(); ++i)
        if (shapes[i]->selected)
            selected.push_back(int(i));
    return selected;
}

std::vector<int> flipSelected(std::vector<std::unique_ptr<Shape>>& shapes, FlipAxis axis, FlipRange range) {
    const std::vector<int> selected = selectedShapes(shapes);
    auto rangeOf = [axis](const Shape& shape) {
        return axis == FlipAxis::Vertical ? shape.GetYRange() : shape.GetXRange();
    };
    Range all{100000, -100000};
    for (int i : selected) {
        const Range r = rangeOf(*shapes[size_t(i)]);
        all = Range{std::min(all.min, r.min), std::max(all.max, r.max)};
    }
    for (int i : selected) {
        Shape& shape = *shapes[size_t(i)];
        const Range r = range == FlipRange::Box         ? Range{0, 1}
                        : range == FlipRange::EachShape ? rangeOf(shape)
                                                        : all;
        if (axis == FlipAxis::Vertical)
            shape.Flip(r.min, r.max);
        else
            shape.Mirror(r.min, r.max);
        shape.Update(0, false);
    }
    return selected;
}

int shapeAtPoint(const std::vector<std::unique_ptr<Shape>>& shapes, double px, double py, int w, int h) {
    double best = 10000;
    int found = -1;
    for (size_t i = 0; i < shapes.size(); ++i) {
        const double d = shapes[i]->DistanceToOutline(px, py, w, h);
        if (d < best) {
            best = d;
            found = int(i);
        }
    }
    return best <= 3 ? found : -1;
}

std::vector<int> shapesInBand(const std::vector<std::unique_ptr<Shape>>& shapes, const Rect& band, int w,
                              int h) {
    const Rect r = band.normalized();
    auto inside = [&r](int x, int y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; };
    std::vector<int> found;
    for (size_t i = 0; i < shapes.size(); ++i) {
        const Rect b = shapes[i]->GetBounds(w, h);
        if (inside(b.left, b.top) && inside(b.right, b.bottom))
            found.push_back(int(i));
    }
    return found;
}

std::string nextShapeName(const std::vector<std::unique_ptr<Shape>>& shapes) {
    long largest = 0;
    for (const auto& shape : shapes) {
        if (!shape->name || shape->name->size() <= 5 || shape->name->compare(0, 5, "Shape") != 0)
            continue;
        const std::string digits = shape->name->substr(5);
        if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        if (digits.size() > 9)
            continue;
        largest = std::max(largest, std::stol(digits));
    }
    return "Shape" + std::to_string(largest + 1);
}

}  // namespace quib

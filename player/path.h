#pragma once

#include <vector>

#include "geometry.h"

namespace quib::player {

using Polygon = std::vector<PointF>;

// Outlines made of straight and quadratic pieces; each moveTo starts a new outline. Filled
// with the even-odd rule, every outline closed.
class Path {
public:
    void moveTo(PointF p);
    void lineTo(PointF p);
    void quadTo(PointF control, PointF to);

    bool isEmpty() const { return m_elements.empty(); }
    // The outlines through transform, curves cut into pieces no further than about a quarter of
    // a unit from the curve.
    std::vector<Polygon> flattened(const Transform& transform) const;
    bool contains(PointF p) const;
    // The smallest rectangle around the outlines (curves flattened).
    RectF boundingRect() const;

private:
    struct Element {
        enum class Kind { Move, Line, Quad } kind;
        PointF control;
        PointF to;
    };
    std::vector<Element> m_elements;
};

// Whether p lies inside the polygons by the even-odd rule.
bool evenOddContains(const std::vector<Polygon>& polygons, PointF p);

}  // namespace quib::player

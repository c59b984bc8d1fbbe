#pragma once

#include <memory>
#include <vector>

#include "shapes/shape.h"

namespace quib {

// A point of one of the selected shapes: the shape's list index, the point index and its squared
// pixel distance from where it was looked for.
struct PointHit {
    int shape = -1;
    int index = -1;
    double distanceSquared = 10000;
};

// The nearest point of the selected shapes within 100 pixels of the unit point; the first shape in
// list order wins ties. Control points count only next to the current point of the current shape.
PointHit nearestSelectedPoint(const std::vector<std::unique_ptr<Shape>>& shapes, PointD u, int w, int h,
                              int currentShape, int currentIndex);

// The control point across the anchor from control point index that turns with it: the two make
// a straight line through the anchor within 3 degrees. -1 for anchors, polygons and unlinked ones.
int linkedControlPoint(const Shape& shape, int index, int w, int h);

// Moves a current point to u with what belongs to it: the closing twin of a closed outline, the
// control points of a curve anchor, and the linked control point, which stays on the line through
// the anchor at its own distance. The outline follows; the keyframes do not (see storeCurrentPoints).
void movePoint(Shape& shape, int index, PointD u, int linked, int w, int h, int time = 0);

// Writes the current points into the keyframe at time, adding it when missing, and updates.
void storeCurrentPoints(Shape& shape, int time = 0);

}  // namespace quib

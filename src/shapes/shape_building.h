#pragma once

#include <memory>
#include <vector>

#include "shapes/shape.h"

namespace quib {

// The drag of a drawing tool from start to end, both in unit space, on a canvas of w x h pixels.
struct ShapeDrag {
    PointD start;
    PointD end;
    int w = 1;
    int h = 1;
    bool proportional = false;  // Shift: the smaller pixel extent is used in both directions
};

// The far corner of the drag, made square in pixels when the drag is proportional.
PointD dragCorner(const ShapeDrag& drag);

// A closed rectangle of five points, the last repeating the first.
std::vector<PointD> rectanglePoints(const ShapeDrag& drag);
// A closed ellipse of four Bezier segments (13 points) through the middles of the box's sides,
// starting at the top middle, with control points at a quarter of each side.
std::vector<PointD> ellipsePoints(const ShapeDrag& drag);

// New shapes with one keyframe at time 0 in colour, width and style, closed and updated.
struct ShapePen {
    uint32_t colour = 0;
    int width = 1;
    int style = 0;
};
std::unique_ptr<Shape> makeRectangle(const ShapeDrag& drag, const ShapePen& pen);
std::unique_ptr<Shape> makeEllipse(const ShapeDrag& drag, const ShapePen& pen);
// An open outline through the vertices (unit space); null with fewer than two.
std::unique_ptr<Shape> makePolyline(const std::vector<PointD>& vertices, const ShapePen& pen);
// A curve fitted to a freehand stroke given in pixels of a w x h canvas, within a squared pixel
// distance of 25; null when the stroke never left its first pixel.
std::unique_ptr<Shape> makeFreehand(const std::vector<PointD>& stroke, int w, int h, const ShapePen& pen);

// Moves every point of every keyframe by (dx, dy) unit lengths and updates at time 0.
void moveShape(Shape& shape, double dx, double dy);

// Which range flip and mirror turn the selected shapes over.
enum class FlipRange {
    Box,        // the whole box, 0..1
    EachShape,  // each shape's own range
    Selection,  // the union of the selected shapes' ranges
};
enum class FlipAxis { Vertical, Horizontal };  // flip turns y over, mirror x
// Turns every selected shape over and updates it; returns the indices of the shapes changed.
std::vector<int> flipSelected(std::vector<std::unique_ptr<Shape>>& shapes, FlipAxis axis, FlipRange range);
// The indices of the selected shapes.
std::vector<int> selectedShapes(const std::vector<std::unique_ptr<Shape>>& shapes);

// The shape whose outline is nearest to the pixel point and at most 3 pixels away, or -1.
int shapeAtPoint(const std::vector<std::unique_ptr<Shape>>& shapes, double px, double py, int w, int h);

// The shapes whose bounds lie wholly inside the pixel rectangle (a rubber band, either way round).
std::vector<int> shapesInBand(const std::vector<std::unique_ptr<Shape>>& shapes, const Rect& band, int w,
                              int h);

// "Shape<N+1>" with N the largest number among the names "Shape<digits>".
std::string nextShapeName(const std::vector<std::unique_ptr<Shape>>& shapes);

}  // namespace quib

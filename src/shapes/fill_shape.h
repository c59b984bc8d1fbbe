#pragma once

#include "shapes/polygon_shape.h"

namespace quib {

// A flood-fill marker: its first point is where the fill starts; the other points only make the
// marker a small square that the editor can pick up.
class FillShape : public PolygonShape {
public:
    FillShape() : PolygonShape(ShapeType::Fill) {}

    // Fills the region of the pixel under the first point with the shape's colour.
    void Draw(raster::DrawContext& dc, int w, int h, bool showHandles, const raster::Pen& outlinePen,
              const raster::Pen& handlePen, const raster::Pen& controlPen, int selectedIndex) const override;
    std::unique_ptr<Shape> Clone() const override;

    // A marker at the unit point (x, y): a 10 x 10 pixel square at the box size w x h.
    static std::unique_ptr<FillShape> at(double x, double y, int w, int h, uint32_t colour);
};

}  // namespace quib

#include "shapes/fill_shape.h"

namespace quib {

void FillShape::Draw(raster::DrawContext& dc, int w, int h, bool, const raster::Pen&, const raster::Pen&,
                     const raster::Pen&, int) const {
    if (outline.empty())
        return;
    const int x = pixelTrunc(outline[0].x, w);
    const int y = pixelTrunc(outline[0].y, h);
    if (dc.pixel(x, y) == raster::kInvalidColour)
        return;
    const raster::Brush oldBrush = dc.setBrush(raster::Brush::solid(colour));
    dc.floodFill(x, y);
    dc.setBrush(oldBrush);
}

std::unique_ptr<Shape> FillShape::Clone() const {
    auto copy = std::make_unique<FillShape>();
    CloneInto(*copy);
    return copy;
}

std::unique_ptr<FillShape> FillShape::at(double x, double y, int w, int h, uint32_t colour) {
    auto fill = std::make_unique<FillShape>();
    const double dx = w > 0 ? 10.0 / w : 0;
    const double dy = h > 0 ? 10.0 / h : 0;
    fill->colour = colour;
    fill->SetPoints({{x, y}, {x + dx, y}, {x + dx, y + dy}, {x, y + dy}, {x, y}});
    return fill;
}

}  // namespace quib

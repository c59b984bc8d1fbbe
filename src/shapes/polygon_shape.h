#pragma once

#include "shapes/shape.h"

namespace quib {

class CurveShape;

// An outline of straight segments through its points.
class PolygonShape : public Shape {
public:
    PolygonShape() : Shape(ShapeType::Polygon) {}

    int InsertPoint(double x, double y, int w, int h) override;
    bool DeletePoint(int index) override;
    void Draw(raster::DrawContext& dc, int w, int h, bool showHandles, const raster::Pen& outlinePen,
              const raster::Pen& handlePen, const raster::Pen& controlPen, int selectedIndex) const override;
    std::vector<PointD> SampleOutline(const std::vector<double>& fractions, int w, int h) override;
    double OutlineLength(int w, int h) override;
    std::unique_ptr<Shape> Clone() const override;
    bool ToggleClosed() override;

    // A curve through the same points, smoothed at every interior point (and at the closing point
    // of a closed outline) with control points 10 pixels away at the box size w x h.
    std::unique_ptr<CurveShape> ToCurve(int w, int h) const;

protected:
    explicit PolygonShape(ShapeType type) : Shape(type) {}
    void rebuildOutline() override { outline = current; }
};

}  // namespace quib

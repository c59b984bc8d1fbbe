#pragma once

#include "shapes/shape.h"

namespace quib {

class PolygonShape;

// A chain of cubic Bezier segments: point 3m is an anchor, 3m+1 and 3m+2 are the control points
// of the segment from anchor 3m to anchor 3m+3.
class CurveShape : public Shape {
public:
    CurveShape() : Shape(ShapeType::Curve) {}

    int segmentCount() const { return pointCount >= 1 ? (pointCount + 2) / 3 - 1 : 0; }
    static int anchorOf(int index) { return 3 * ((index + 1) / 3); }

    int InsertPoint(double x, double y, int w, int h) override;
    bool DeletePoint(int index) override;
    void Draw(raster::DrawContext& dc, int w, int h, bool showHandles, const raster::Pen& outlinePen,
              const raster::Pen& handlePen, const raster::Pen& controlPen, int selectedIndex) const override;
    std::vector<PointD> SampleOutline(const std::vector<double>& fractions, int w, int h) override;
    // Estimate from ten samples of the derivative per segment; also kept in curveLength.
    double OutlineLength(int w, int h) override;
    std::unique_ptr<Shape> Clone() const override;
    bool ToggleClosed() override;

    // A polygon through the anchors.
    std::unique_ptr<PolygonShape> ToPolygon() const;

    double curveLength = 0;

protected:
    void rebuildOutline() override;
    bool isNearestPointCandidate(int index, int selectedIndex) const override;

private:
    void flatten(const PointD* segment, double ta, double tb);
};

// Cubic Bezier segment P0..P3 in power form.
struct BezierSegment {
    explicit BezierSegment(const PointD* p);
    PointD at(double t) const;
    PointD derivative(double t) const;
    PointD p0, a, b, c;
};

}  // namespace quib

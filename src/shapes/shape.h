#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "base/geometry.h"
#include "raster/draw_context.h"

namespace quib {

// A point in the unit space of a shape's box: (0, 0) top-left, (1, 1) bottom-right.
struct PointD {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointD&, const PointD&) = default;
};

struct Range {
    double min = 0;
    double max = 0;
};

enum class ShapeType : uint32_t { Polygon = 1, Curve = 2, Fill = 3 };

// Longest shape name a stream may hold, in bytes.
inline constexpr size_t kMaxShapeNameBytes = 259;

// An f64 of a stream; readFinite throws FormatError on a value that is not a finite number.
double readFinite(ByteReader& in);
void writeDouble(ByteWriter& out, double v);

// Unit coordinate to pixels for drawing: floor(v * size + 0.5), kept in a range that the
// drawing code can handle whatever a file held.
int pixelRound(double v, int size);
// Unit coordinate to pixels for bounds, hit tests and fill positions: truncation toward zero.
int pixelTrunc(double v, int size);

// A vector outline (or fill marker) in unit space, animated by keyframes. The flattened outline
// and the current points are derived by Update and cached for drawing and hit-testing.
class Shape {
public:
    virtual ~Shape() = default;

    ShapeType type() const { return shapeType; }
    int keyframeCount() const { return int(keyframeTimes.size()); }
    PointD& keyframePoint(int keyframe, int index) {
        return keyframePoints[size_t(keyframe) * size_t(pointCount) + size_t(index)];
    }
    const PointD& keyframePoint(int keyframe, int index) const {
        return keyframePoints[size_t(keyframe) * size_t(pointCount) + size_t(index)];
    }
    // Replaces the keyframes by a single one at time 0 holding points, and updates at time 0.
    void SetPoints(const std::vector<PointD>& points);

    // Body of the stream form (the type is written by the caller). Read throws FormatError on a
    // malformed body and leaves the shape as it was; it does not compute the current points.
    void Write(ByteWriter& out) const;
    void Read(ByteReader& in);

    Rect GetBounds(int w, int h) const;
    Range GetXRange() const;
    Range GetYRange() const;
    PointD GetCenter() const;

    // Inserts a point near the unit point (x, y); returns its index or -1.
    virtual int InsertPoint(double x, double y, int w, int h) = 0;
    virtual bool DeletePoint(int index) = 0;
    virtual void Draw(raster::DrawContext& dc, int w, int h, bool showHandles, const raster::Pen& outlinePen,
                      const raster::Pen& handlePen, const raster::Pen& controlPen,
                      int selectedIndex) const = 0;
    // Distance in pixels from the pixel point to the outline, with the foot point (pixels) and its
    // fraction of the outline's length.
    double LocateOnOutline(double px, double py, int w, int h, double& fraction, PointD& foot) const;
    double DistanceToOutline(double px, double py, int w, int h) const;
    // Points (unit space) at the given ascending fractions of the outline's length.
    virtual std::vector<PointD> SampleOutline(const std::vector<double>& fractions, int w, int h) = 0;
    virtual double OutlineLength(int w, int h) = 0;
    // Rebuilds the current points for time (unless keepCurrent) and the flattened outline.
    void Update(int time, bool keepCurrent);
    // Nearest point to the unit point within 100 pixels: distanceSquared and index are replaced
    // only by a strictly nearer candidate (start them at 10000 and -1).
    void NearestPoint(double x, double y, int w, int h, double& distanceSquared, int& index,
                      int selectedIndex) const;
    virtual std::unique_ptr<Shape> Clone() const = 0;
    // Copies everything but the derived data into target (whose outline is emptied).
    void CloneInto(Shape& target) const;
    virtual bool ToggleClosed() = 0;
    void DrawBlinkMarker(int index, raster::DrawContext& dc, int w, int h, int tick) const;

    bool AddKeyframe(int time);
    bool DeleteKeyframe(int time);
    bool HasKeyframe(int time) const { return KeyframeIndex(time) >= 0; }
    int KeyframeIndex(int time) const;

    void ClearOutline() { outline.clear(); }
    void AppendOutlinePoint(double x, double y) { outline.push_back(PointD{x, y}); }

    // y := lo + hi - y (flip) or x := lo + hi - x (mirror) in every keyframe; call Update after.
    void Flip(double lo, double hi);
    void Mirror(double lo, double hi);

    std::optional<std::string> name;
    int32_t pointCount = 0;
    uint32_t colour = 0x0000FF00;
    int32_t penWidth = 1;
    int32_t penStyle = 0;
    std::vector<PointD> current;
    std::vector<double> keyframeTimes;
    std::vector<PointD> keyframePoints;  // keyframe-major: point j of keyframe i is i * pointCount + j
    bool selected = false;
    bool closed = false;
    bool permanent = false;
    std::vector<PointD> outline;

protected:
    explicit Shape(ShapeType type) : shapeType(type) {}
    Shape(const Shape&) = default;
    Shape& operator=(const Shape&) = default;

    virtual void rebuildOutline() = 0;
    virtual bool isNearestPointCandidate(int /*index*/, int /*selectedIndex*/) const { return true; }
    // Removes count points from every keyframe starting at first.
    void removePoints(int first, int count);
    // Inserts one point per keyframe at index, made by make(keyframe).
    template <typename Make>
    void insertPoints(int index, int count, Make make);
    // Pixel length of a unit-space polyline, and points along it at arc lengths.
    static double polylineLength(const std::vector<PointD>& line, int w, int h);
    static std::vector<PointD> samplePolyline(const std::vector<PointD>& line,
                                              const std::vector<double>& fractions, double length, int w,
                                              int h);

private:
    ShapeType shapeType;
};

template <typename Make>
void Shape::insertPoints(int index, int count, Make make) {
    std::vector<PointD> points;
    points.reserve(size_t(keyframeCount()) * size_t(pointCount + count));
    for (int k = 0; k < keyframeCount(); ++k) {
        for (int j = 0; j < index; ++j)
            points.push_back(keyframePoint(k, j));
        for (int c = 0; c < count; ++c)
            points.push_back(make(k, c));
        for (int j = index; j < pointCount; ++j)
            points.push_back(keyframePoint(k, j));
    }
    keyframePoints = std::move(points);
    pointCount += count;
}

}  // namespace quib

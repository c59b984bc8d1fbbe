#include <gtest/gtest.h>

#include "shape_bytes.h"

#include <cmath>

#include "shapes/curve_fitting.h"
#include "shapes/curve_shape.h"
#include "shapes/point_editing.h"
#include "shapes/shape_building.h"
#include "shapes/shape_edit_history.h"
#include "shapes/shape_transform.h"

using namespace quib;
using quib::testing::bytesOf;
using quib::testing::shapeOf;

namespace {

using Shapes = ShapeEditHistory::Shapes;

std::vector<PointD> sampled(int count, PointD (*at)(double)) {
    std::vector<PointD> points;
    for (int i = 0; i <= count; ++i)
        points.push_back(at(double(i) / count));
    return points;
}

}  // namespace

struct FitCase {
    const char* name;
    std::vector<PointD> stroke;
    int maxSegments;  // 0: nothing fits
};

class CurveFitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(CurveFitting, EveryStrokePointLiesWithinTheToleranceOfTheChain) {
    const FitCase& c = GetParam();
    const std::vector<PointD> fitted = fitBezierChain(c.stroke, 25);
    if (c.maxSegments == 0) {
        EXPECT_TRUE(fitted.empty());
        return;
    }
    ASSERT_EQ(fitted.size() % 3, 1u);
    const int segments = int(fitted.size() / 3);
    EXPECT_GE(segments, 1);
    EXPECT_LE(segments, c.maxSegments);
    EXPECT_EQ(fitted.front(), c.stroke.front());
    EXPECT_EQ(fitted.back(), c.stroke.back());
    const auto curve = shapeOf<CurveShape>(fitted);  // a 1 x 1 box keeps pixels as they are
    for (const PointD& p : c.stroke)
        EXPECT_LE(curve->DistanceToOutline(p.x, p.y, 1, 1), 5.2) << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(
    Strokes, CurveFitting,
    ::testing::Values(
        FitCase{"bezier",
                sampled(60,
                        [](double t) {
                            const double s = 1 - t;
                            return PointD{3 * s * s * t * 30 + 3 * s * t * t * 170 + t * t * t * 200,
                                          3 * s * s * t * 100 + 3 * s * t * t * 100};
                        }),
                1},
        FitCase{"threeQuartersOfACircle",
                sampled(80,
                        [](double t) {
                            return PointD{150 + 100 * std::cos(t * 4.712), 150 - 100 * std::sin(t * 4.712)};
                        }),
                6},
        FitCase{"twoPoints", {{10, 10}, {40, 50}}, 1},
        FitCase{"duplicatesBetween", {{10, 10}, {10, 10}, {20, 30}, {20, 30}, {40, 50}, {40, 50}}, 1},
        FitCase{"onePixel", {{7, 7}, {7, 7}, {7, 7}}, 0}, FitCase{"empty", {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CurveFitting, AStraightStrokeStaysStraight) {
    const std::vector<PointD> fitted = fitBezierChain(sampled(20,
                                                              [](double t) {
                                                                  return PointD{100 * t, 50 * t};
                                                              }),
                                                      25);
    ASSERT_EQ(fitted.size(), 4u);
    for (const PointD& p : fitted)
        EXPECT_NEAR(p.x * 50 - p.y * 100, 0, 1e-6) << "on the line y = x / 2";
}

TEST(ShapeBuilding, PolylineAndFreehandNeedTwoPlaces) {
    EXPECT_FALSE(makePolyline({{0.1, 0.1}}, {}));
    EXPECT_FALSE(makeFreehand({{5, 5}, {5, 5}}, 100, 100, {}));
}

struct TransformCase {
    const char* name;
    int code;
    PointD from, to;  // pixels on a 100 x 100 canvas
    TransformKeys keys;
    Range x, y;  // the rectangle's ranges afterwards
};

class ShapeTransforming : public ::testing::TestWithParam<TransformCase> {};

// The rectangle spans x 0.2..0.6 and y 0.2..0.4: its frame is (18, 18)-(63, 43) in pixels.
TEST_P(ShapeTransforming, DragsAsTheKeysSayAndUndoesAsOneStep) {
    const TransformCase& c = GetParam();
    Shapes shapes;
    shapes.push_back(makeRectangle({{0.2, 0.2}, {0.6, 0.4}, 100, 100}, {}));
    shapes.push_back(makeEllipse({{0.7, 0.7}, {0.9, 0.9}, 100, 100}, {}));
    shapes[0]->selected = true;
    ShapeEditHistory history(shapes);
    const std::vector<uint8_t> before = bytesOf(shapes);
    const Rect frame = shapes[0]->GetBounds(100, 100);
    ASSERT_EQ(frame, (Rect{18, 18, 63, 43}));
    ShapeTransform transform(shapes, history, frame, c.code, {c.from.x / 100, c.from.y / 100}, 100, 100,
                             c.keys);
    // In two steps: scaling and turning add up.
    transform.dragTo({(c.from.x + c.to.x) / 200, (c.from.y + c.to.y) / 200});
    transform.dragTo({c.to.x / 100, c.to.y / 100});
    transform.finish();
    const Range x = shapes[0]->GetXRange(), y = shapes[0]->GetYRange();
    EXPECT_NEAR(x.min, c.x.min, 1e-9);
    EXPECT_NEAR(x.max, c.x.max, 1e-9);
    EXPECT_NEAR(y.min, c.y.min, 1e-9);
    EXPECT_NEAR(y.max, c.y.max, 1e-9);
    EXPECT_EQ(shapes[0]->keyframePoints, shapes[0]->current) << "kept in the keyframe";

    const std::vector<uint8_t> after = bytesOf(shapes);
    EXPECT_EQ(history.undoText(), "Annulla Trasforma Forme\tCtrl+Z");
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytesOf(shapes), before);
    EXPECT_FALSE(history.canUndo()) << "one step";
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(bytesOf(shapes), after);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, ShapeTransforming,
    ::testing::Values(
        TransformCase{
            "moveAllKeyframes", handle::kMove, {20, 30}, {30, 35}, {true, true}, {0.3, 0.7}, {0.25, 0.45}},
        TransformCase{"top", handle::kTop, {40, 18}, {40, 38}, {}, {0.2, 0.6}, {0.384, 0.424}},
        TransformCase{"leftAboutOwnCentre",
                      handle::kLeft,
                      {18, 30},
                      {8, 30},
                      {false, false, true},
                      {0.11111111111111116, 0.68888888888888888},
                      {0.2, 0.4}},
        TransformCase{"cornerProportional",
                      handle::kRight | handle::kBottom,
                      {63, 43},
                      {83, 53},
                      {true},
                      {0.20888888888888889, 0.78666666666666667},
                      {0.20888888888888889, 0.49777777777777776}},
        // A quarter turn anticlockwise round the frame's centre (40.5, 30.5), or the shape's (40, 30).
        TransformCase{"rotate", handle::kRotate, {60.5, 30.5}, {40.5, 10.5}, {}, {0.3, 0.5}, {0.11, 0.51}},
        TransformCase{
            "rotateOwnCentre", handle::kRotate, {60.5, 30.5}, {40.5, 10.5}, {true}, {0.3, 0.5}, {0.1, 0.5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShapeTransforming, AShapeThinnerThanThreePixelsIsNotShrunk) {
    Shapes shapes;
    shapes.push_back(makeRectangle({{0.2, 0.2}, {0.22, 0.6}, 100, 100}, {}));
    shapes[0]->selected = true;
    ShapeEditHistory history(shapes);
    const Rect frame = shapes[0]->GetBounds(100, 100);
    ShapeTransform transform(shapes, history, frame, handle::kRight, {0.25, 0.4}, 100, 100, {});
    EXPECT_FALSE(transform.dragTo({0.23, 0.4}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(transform.dragTo({0.3, 0.4})) << "growing is still allowed";
}

struct HandleCase {
    Point at;
    int code;
};

class TransformHandles : public ::testing::TestWithParam<HandleCase> {};

TEST_P(TransformHandles, FrameBandHandlesRotationAndOutline) {
    auto rectangle = makeRectangle({{0.2, 0.2}, {0.6, 0.4}, 100, 100}, {});
    EXPECT_EQ(transformHandleAt(*rectangle, GetParam().at.x, GetParam().at.y, 100, 100, 0), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Points, TransformHandles,
                         ::testing::Values(HandleCase{{18, 18}, 5}, HandleCase{{40, 16}, 4},
                                           HandleCase{{64, 18}, 6}, HandleCase{{18, 30}, 1},
                                           HandleCase{{63, 31}, 2}, HandleCase{{17, 43}, 9},
                                           HandleCase{{40, 44}, 8}, HandleCase{{63, 43}, 10},
                                           HandleCase{{57, 31}, 16}, HandleCase{{20, 25}, 0},
                                           HandleCase{{40, 30}, -1}, HandleCase{{80, 80}, -1}));

struct PointMoveCase {
    const char* name;
    bool ellipse;  // else a closed rectangle
    int index;
    std::vector<int> moved;  // the points that change
    int linked;
};

class PointEditing : public ::testing::TestWithParam<PointMoveCase> {};

// The ellipse's anchors are 0 (top), 3 (left), 6 (bottom), 9 (right) and 12 = 0; each anchor's
// control points lie on the box's side, in line with it.
TEST_P(PointEditing, MovesThePointWithWhatBelongsToItAndUndoesToTheSameBytes) {
    const PointMoveCase& c = GetParam();
    Shapes shapes;
    const ShapeDrag box{{0.2, 0.2}, {0.6, 0.6}, 200, 100};
    shapes.push_back(c.ellipse ? makeEllipse(box, {}) : makeRectangle(box, {}));
    Shape& shape = *shapes[0];
    const std::vector<PointD> start = shape.current;
    EXPECT_EQ(linkedControlPoint(shape, c.index, 200, 100), c.linked);
    ShapeEditHistory history(shapes);
    const std::vector<uint8_t> before = bytesOf(shapes);
    history.recordPoints(0, 0);
    movePoint(shape, c.index, {0.9, 0.05}, c.linked, 200, 100);
    storeCurrentPoints(shape);

    std::vector<int> moved;
    for (int i = 0; i < shape.pointCount; ++i)
        if (!(shape.current[size_t(i)] == start[size_t(i)]))
            moved.push_back(i);
    EXPECT_EQ(moved, c.moved);
    if (c.linked >= 0) {
        const PointD a = shape.current[size_t(CurveShape::anchorOf(c.index))];
        auto pixels = [&](PointD p) { return std::hypot((p.x - a.x) * 200, (p.y - a.y) * 100); };
        EXPECT_NEAR(pixels(shape.current[size_t(c.linked)]), pixels(start[size_t(c.linked)]), 1e-9);
        const PointD d = shape.current[size_t(c.index)], o = shape.current[size_t(c.linked)];
        EXPECT_NEAR((d.x - a.x) * (o.y - a.y) - (d.y - a.y) * (o.x - a.x), 0, 1e-12) << "in line";
    }
    const std::vector<uint8_t> after = bytesOf(shapes);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytesOf(shapes), before);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(bytesOf(shapes), after);
}

INSTANTIATE_TEST_SUITE_P(Points, PointEditing,
                         ::testing::Values(PointMoveCase{"polygonCorner", false, 2, {2}, -1},
                                           PointMoveCase{"polygonSeam", false, 4, {0, 4}, -1},
                                           PointMoveCase{"curveAnchor", true, 3, {2, 3, 4}, -1},
                                           PointMoveCase{"curveSeam", true, 0, {0, 1, 11, 12}, -1},
                                           PointMoveCase{"linkedControl", true, 4, {2, 4}, 2},
                                           PointMoveCase{"linkedAcrossTheSeam", true, 1, {1, 11}, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

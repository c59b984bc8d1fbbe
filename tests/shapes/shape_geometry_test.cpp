#include <gtest/gtest.h>

#include "shape_bytes.h"

#include "shapes/curve_shape.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"

using namespace quib;
using quib::testing::shapeOf;

namespace {

std::vector<PointD> keyframe(const Shape& shape, int k) {
    std::vector<PointD> points;
    for (int j = 0; j < shape.pointCount; ++j)
        points.push_back(shape.keyframePoint(k, j));
    return points;
}

const PointD A{0.1, 0.1}, B{0.9, 0.1}, C{0.9, 0.9}, D{0.1, 0.9};

}  // namespace

TEST(ShapeKeyframes, UpdateInterpolatesAndHoldsOutsideTheRange) {
    auto shape = shapeOf<PolygonShape>({{0, 0}, {1, 1}});
    shape->keyframeTimes = {10, 20};
    shape->keyframePoints = {{0, 0}, {1, 1}, {0.5, 0}, {1, 0}};
    shape->Update(5, false);
    EXPECT_EQ(shape->current, (std::vector<PointD>{{0, 0}, {1, 1}})) << "before the first: keyframe 0";
    shape->Update(15, false);
    EXPECT_DOUBLE_EQ(shape->current[0].x, 0.25);
    EXPECT_DOUBLE_EQ(shape->current[1].y, 0.5);
    shape->Update(99, false);
    EXPECT_EQ(shape->current, (std::vector<PointD>{{0.5, 0}, {1, 0}})) << "after the last: the last";
    shape->current[0] = {0.7, 0.7};
    shape->Update(10, true);
    EXPECT_EQ(shape->current[0], (PointD{0.7, 0.7})) << "keepCurrent leaves the points";
    EXPECT_EQ(shape->outline, shape->current);
}

TEST(ShapeKeyframes, AddInterpolatesBetweenNeighboursAndDeleteRemoves) {
    auto shape = shapeOf<PolygonShape>({{0, 0}});
    shape->keyframeTimes = {0, 10};
    shape->keyframePoints = {{0, 0}, {1, 0.5}};
    EXPECT_TRUE(shape->AddKeyframe(4));
    ASSERT_EQ(shape->keyframeCount(), 3);
    EXPECT_EQ(shape->KeyframeIndex(4), 1);
    EXPECT_DOUBLE_EQ(shape->keyframePoint(1, 0).x, 0.4);
    EXPECT_DOUBLE_EQ(shape->keyframePoint(1, 0).y, 0.2);
    EXPECT_TRUE(shape->AddKeyframe(20));
    EXPECT_EQ(shape->keyframePoint(3, 0), (PointD{1, 0.5})) << "after the last copies the last";
    EXPECT_TRUE(shape->AddKeyframe(4)) << "an existing time succeeds without change";
    EXPECT_EQ(shape->keyframeCount(), 4);
    EXPECT_TRUE(shape->DeleteKeyframe(4));
    EXPECT_FALSE(shape->DeleteKeyframe(4));
    EXPECT_FALSE(shape->HasKeyframe(4));
    EXPECT_EQ(shape->keyframeCount(), 3);
}

TEST(ShapeBounds, BoundsRangesAndCentre) {
    auto shape = shapeOf<PolygonShape>({{0.1, 0.2}, {0.5, 0.9}});
    EXPECT_EQ(shape->GetBounds(100, 10), (Rect{10 - 2, 2 - 2, 50 + 3, 9 + 3}));
    EXPECT_DOUBLE_EQ(shape->GetXRange().min, 0.1);
    EXPECT_DOUBLE_EQ(shape->GetXRange().max, 0.5);
    EXPECT_DOUBLE_EQ(shape->GetCenter().y, 0.55);
    PolygonShape empty;
    EXPECT_TRUE(empty.GetBounds(100, 100).isEmpty());
    EXPECT_EQ(empty.GetCenter(), (PointD{0, 0}));
}

TEST(ShapeHitTests, NearestPointWithinHundredPixels) {
    auto shape = shapeOf<PolygonShape>({{0, 0}, {0.5, 0}});
    double d2 = 10000;
    int index = -1;
    shape->NearestPoint(0.45, 0.0, 100, 100, d2, index, -1);
    EXPECT_EQ(index, 1);
    EXPECT_NEAR(d2, 25, 1e-9);
    d2 = 10000, index = -1;
    shape->NearestPoint(0, 2.0, 100, 100, d2, index, -1);
    EXPECT_EQ(index, -1) << "more than 100 pixels away";
}

TEST(ShapeClosure, ClosingThenOpeningRestoresThePoints) {
    auto polygon = shapeOf<PolygonShape>({A, B, C});
    const auto before = polygon->keyframePoints;
    EXPECT_TRUE(polygon->ToggleClosed());
    EXPECT_EQ(keyframe(*polygon, 0), (std::vector<PointD>{A, B, C, A}));
    EXPECT_FALSE(polygon->ToggleClosed());
    EXPECT_EQ(polygon->keyframePoints, before);

    auto curve = shapeOf<CurveShape>({A, {0.3, 0.1}, {0.6, 0.1}, B});
    const auto curveBefore = curve->keyframePoints;
    EXPECT_TRUE(curve->ToggleClosed());
    ASSERT_EQ(curve->pointCount, 7);
    EXPECT_EQ(curve->keyframePoint(0, 6), A);
    EXPECT_NEAR(curve->keyframePoint(0, 4).x, 0.9 - 0.8 / 3, 1e-12);
    EXPECT_FALSE(curve->ToggleClosed());
    EXPECT_EQ(curve->keyframePoints, curveBefore);
}

TEST(ShapeDeletePoint, ClosedPolygonKeepsItsClosureAndClosedCurveRepairsIt) {
    auto first = shapeOf<PolygonShape>({A, B, C, D, A}, true);
    EXPECT_TRUE(first->DeletePoint(0));
    EXPECT_EQ(keyframe(*first, 0), (std::vector<PointD>{B, C, D, B}));
    auto last = shapeOf<PolygonShape>({A, B, C, D, A}, true);
    EXPECT_TRUE(last->DeletePoint(4));
    EXPECT_EQ(keyframe(*last, 0), (std::vector<PointD>{D, B, C, D}));
    auto open = shapeOf<PolygonShape>({A, B, C});
    EXPECT_TRUE(open->DeletePoint(1));
    EXPECT_EQ(keyframe(*open, 0), (std::vector<PointD>{A, C}));
    EXPECT_FALSE(open->DeletePoint(2));
    EXPECT_FALSE(open->DeletePoint(-1));
    auto single = shapeOf<PolygonShape>({A});
    EXPECT_FALSE(single->DeletePoint(0));
    auto curve = shapeOf<CurveShape>(
        {A, {0.3, 0.1}, {0.6, 0.1}, B, {0.9, 0.4}, {0.9, 0.6}, C, {0.5, 0.5}, {0.2, 0.2}, A}, true);
    EXPECT_TRUE(curve->DeletePoint(0));
    ASSERT_EQ(curve->pointCount, 7);
    EXPECT_EQ(curve->keyframePoint(0, 0), B);
    EXPECT_EQ(curve->keyframePoint(0, 6), B);
}

TEST(ShapeInsertPoint, PolygonSplitsTheNearestSegmentInEveryKeyframe) {
    auto shape = shapeOf<PolygonShape>({{0, 0}, {1, 0}, {1, 1}});
    shape->keyframeTimes = {0, 10};
    shape->keyframePoints = {{0, 0}, {1, 0}, {1, 1}, {0, 0.5}, {0.5, 0.5}, {0.5, 1}};
    shape->Update(0, false);
    EXPECT_EQ(shape->InsertPoint(0.25, 0.0, 100, 100), 1);
    ASSERT_EQ(shape->pointCount, 4);
    EXPECT_DOUBLE_EQ(shape->keyframePoint(0, 1).x, 0.25);
    EXPECT_DOUBLE_EQ(shape->keyframePoint(1, 1).x, 0.125) << "each keyframe at its own ratio";
    EXPECT_DOUBLE_EQ(shape->keyframePoint(1, 1).y, 0.5);
    EXPECT_EQ(shapeOf<PolygonShape>({A})->InsertPoint(0.1, 0.1, 100, 100), -1);
}

TEST(ShapeInsertPoint, CurveSplitKeepsTheShapeAndPutsTheAnchorNearTheClickAndNeedsASegment) {
    auto curve = shapeOf<CurveShape>({{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    const auto outlineBefore = curve->outline;
    const double lengthBefore = curve->OutlineLength(200, 200);
    const int index = curve->InsertPoint(0.5, 0.75, 200, 200);
    ASSERT_EQ(index, 3);
    ASSERT_EQ(curve->pointCount, 7);
    curve->Update(0, false);
    const PointD anchor = curve->current[3];
    EXPECT_NEAR(anchor.x, 0.5, 0.05);
    EXPECT_NEAR(anchor.y, 0.75, 0.05);
    EXPECT_EQ(curve->current[0], (PointD{0, 0}));
    EXPECT_EQ(curve->current[6], (PointD{1, 0}));
    EXPECT_NEAR(curve->OutlineLength(200, 200), lengthBefore, lengthBefore * 0.03);
    for (const PointD& p : outlineBefore)
        EXPECT_LT(curve->DistanceToOutline(p.x * 200, p.y * 200, 200, 200), 3.0)
            << "the refit follows the old curve";
    auto point = shapeOf<CurveShape>({A});
    EXPECT_EQ(point->InsertPoint(0.1, 0.1, 100, 100), -1) << "a curve without segments refuses";
    EXPECT_EQ(point->pointCount, 1);
}

TEST(ShapeConversion, CurveToPolygonKeepsAnchors) {
    auto curve = shapeOf<CurveShape>({A, {0.3, 0.1}, {0.6, 0.1}, B, {0.9, 0.4}, {0.9, 0.6}, C});
    curve->name = "Curva";
    curve->colour = 0x123456;
    auto polygon = curve->ToPolygon();
    EXPECT_EQ(polygon->pointCount, 3);
    EXPECT_EQ(keyframe(*polygon, 0), (std::vector<PointD>{A, B, C}));
    EXPECT_EQ(polygon->name, "Curva");
    EXPECT_EQ(polygon->colour, 0x0000FF00u) << "style takes the defaults";
}

TEST(ShapeConversion, PolygonToCurveSmoothsInteriorAndClosingAnchorsTenPixelsOut) {
    auto polygon = shapeOf<PolygonShape>({{0, 0}, {0.5, 0}, {0.5, 0.5}});
    auto curve = polygon->ToCurve(100, 100);
    ASSERT_EQ(curve->pointCount, 7);
    EXPECT_EQ(curve->keyframePoint(0, 0), (PointD{0, 0}));
    EXPECT_EQ(curve->keyframePoint(0, 1), (PointD{0, 0}));
    EXPECT_EQ(curve->keyframePoint(0, 5), (PointD{0.5, 0.5}));
    const PointD anchor = curve->keyframePoint(0, 3);
    const PointD in = curve->keyframePoint(0, 2), out = curve->keyframePoint(0, 4);
    EXPECT_NEAR(std::hypot((out.x - anchor.x) * 100, (out.y - anchor.y) * 100), 10, 1e-9);
    EXPECT_NEAR(std::hypot((in.x - anchor.x) * 100, (in.y - anchor.y) * 100), 10, 1e-9);
    EXPECT_GT(out.y, anchor.y) << "the outgoing control leans toward the next point";
    EXPECT_LT(in.x, anchor.x) << "the incoming one toward the previous point";
    auto straight = shapeOf<PolygonShape>({{0, 0}, {0.5, 0}, {1, 0}})->ToCurve(100, 100);
    for (const PointD& p : straight->keyframePoints)
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    auto closed = shapeOf<PolygonShape>({A, B, C, A}, true)->ToCurve(100, 100);
    ASSERT_EQ(closed->pointCount, 10);
    EXPECT_NE(closed->keyframePoint(0, 1), A);
    EXPECT_NE(closed->keyframePoint(0, 8), A);
}

TEST(ShapeSampling, SamplesAtFractionsOfTheLength) {
    auto shape = shapeOf<PolygonShape>({{0, 0}, {1, 0}, {1, 1}});
    auto samples = shape->SampleOutline({0, 0.25, 0.75, 1}, 100, 100);
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0], (PointD{0, 0}));
    EXPECT_NEAR(samples[1].x, 0.5, 1e-12);
    EXPECT_NEAR(samples[2].y, 0.5, 1e-12);
    EXPECT_EQ(samples[3], (PointD{1, 1}));
}

#include <gtest/gtest.h>

#include "shape_bytes.h"

#include "shapes/shape_building.h"
#include "shapes/shape_clipboard.h"
#include "shapes/shape_edit_history.h"

using namespace quib;
using quib::testing::bytesOf;

namespace {

using Shapes = ShapeEditHistory::Shapes;

Shapes twoShapes() {
    Shapes shapes;
    shapes.push_back(makeRectangle({{0.1, 0.1}, {0.5, 0.4}, 200, 100}, {0x0000FF, 2, 0}));
    shapes.push_back(makeEllipse({{0.2, 0.2}, {0.8, 0.9}, 200, 100}, {0xFF0000, 1, 1}));
    return shapes;
}

}  // namespace

struct DragCase {
    const char* name;
    ShapeDrag drag;
    PointD corner;
};

class ShapeDragCorner : public ::testing::TestWithParam<DragCase> {};

TEST_P(ShapeDragCorner, ShiftUsesTheSmallerPixelExtentBothWays) {
    const PointD corner = dragCorner(GetParam().drag);
    EXPECT_DOUBLE_EQ(corner.x, GetParam().corner.x);
    EXPECT_DOUBLE_EQ(corner.y, GetParam().corner.y);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, ShapeDragCorner,
    ::testing::Values(DragCase{"free", {{0.1, 0.1}, {0.6, 0.3}, 200, 100, false}, {0.6, 0.3}},
                      // 0.5 * 200 = 100 pixels wide, 0.2 * 100 = 20 high: 20 pixels both ways.
                      DragCase{"shiftWide", {{0.1, 0.1}, {0.6, 0.3}, 200, 100, true}, {0.2, 0.3}},
                      DragCase{"shiftTall", {{0.0, 0.0}, {0.1, 0.9}, 200, 100, true}, {0.1, 0.2}},
                      // Signed: dragging left gives the negative extent, which is the smaller.
                      DragCase{"shiftLeft", {{0.5, 0.5}, {0.4, 0.9}, 100, 100, true}, {0.4, 0.4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShapeBuilding, PicksTheNearestOutlineWithinThreePixels) {
    const Shapes shapes = twoShapes();
    // The rectangle's left side is x = 20 pixels, from y = 10 to 40.
    EXPECT_EQ(shapeAtPoint(shapes, 22, 25, 200, 100), 0);
    EXPECT_EQ(shapeAtPoint(shapes, 24, 25, 200, 100), -1);
    EXPECT_EQ(shapeAtPoint(shapes, 100, 90, 200, 100), 1) << "the ellipse's bottom middle";
}

TEST(ShapeBuilding, NamesFollowTheLargestShapeNumber) {
    Shapes shapes = twoShapes();
    shapes[0]->name = "Shape1";
    shapes[1]->name = "Shape7";
    EXPECT_EQ(nextShapeName(shapes), "Shape8");
    shapes[1]->name = "Shapes2";
    EXPECT_EQ(nextShapeName(shapes), "Shape2");
}

TEST(ShapeEditHistory, AddDeleteMoveAndGroupRoundTripToTheSameBytes) {
    Shapes shapes = twoShapes();
    ShapeEditHistory history(shapes);
    int records = 0;
    history.onRecord = [&] { ++records; };
    std::vector<std::vector<uint8_t>> states{bytesOf(shapes)};

    history.recordAdd(2);
    shapes.push_back(makeRectangle({{0.5, 0.5}, {0.9, 0.9}, 200, 100}, {0x00FF00, 4, 0}));
    states.push_back(bytesOf(shapes));

    history.recordPoints(0, 0);
    history.recordPoints(2, 0);
    history.recordGroup(2, "Trasforma Forme");
    moveShape(*shapes[0], 0.05, 0.1);
    moveShape(*shapes[2], -0.1, 0);
    states.push_back(bytesOf(shapes));

    history.recordDelete(1);
    shapes.erase(shapes.begin() + 1);
    states.push_back(bytesOf(shapes));
    EXPECT_EQ(records, 5);

    EXPECT_EQ(history.undoText(), "Annulla Elimina Forma\tCtrl+Z");
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(bytesOf(shapes), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.undoText(), "Annulla\tCtrl+Z");
    EXPECT_EQ(history.redoText(), "Ripristina Crea nuova Forma\tCtrl+Y");
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo());
        EXPECT_EQ(bytesOf(shapes), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(history.canRedo());
}

struct FlipCase {
    const char* name;
    FlipAxis axis;
    FlipRange range;
    Range rectangleAfter;  // the rectangle's x range (mirror) or y range (flip) afterwards
};

class ShapeFlip : public ::testing::TestWithParam<FlipCase> {};

// The rectangle spans x 0.1..0.5 and y 0.1..0.4, the ellipse x 0.2..0.8 and y 0.2..0.9.
TEST_P(ShapeFlip, TurnsTheSelectionOverItsRangeAndUndoGivesTheBytesBack) {
    const FlipCase& c = GetParam();
    Shapes shapes = twoShapes();
    for (auto& shape : shapes)
        shape->selected = true;
    ShapeEditHistory history(shapes);
    const std::vector<uint8_t> before = bytesOf(shapes);
    for (int i : selectedShapes(shapes))
        history.recordAllPoints(i, "Rifletti Forma");
    history.recordGroup(2, "Rifletti Forme");
    EXPECT_EQ(flipSelected(shapes, c.axis, c.range), (std::vector<int>{0, 1}));
    const Range r = c.axis == FlipAxis::Vertical ? shapes[0]->GetYRange() : shapes[0]->GetXRange();
    EXPECT_NEAR(r.min, c.rectangleAfter.min, 1e-12);
    EXPECT_NEAR(r.max, c.rectangleAfter.max, 1e-12);
    const std::vector<uint8_t> after = bytesOf(shapes);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(bytesOf(shapes), before);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(bytesOf(shapes), after);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ShapeFlip,
    ::testing::Values(FlipCase{"mirrorBox", FlipAxis::Horizontal, FlipRange::Box, {0.5, 0.9}},
                      FlipCase{"mirrorEach", FlipAxis::Horizontal, FlipRange::EachShape, {0.1, 0.5}},
                      FlipCase{"mirrorSelection", FlipAxis::Horizontal, FlipRange::Selection, {0.4, 0.8}},
                      FlipCase{"flipBox", FlipAxis::Vertical, FlipRange::Box, {0.6, 0.9}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShapeClipboard, WritesTheSelectedShapesAndReadsThemBackByteForByte) {
    Shapes shapes = twoShapes();
    shapes[1]->selected = true;
    const std::vector<uint8_t> bytes = writeShapeClipboard(shapes, 1, PointD{0.25, 0.5});
    // Header written by hand: timeline 1, origin (0.25, 0.5), one shape, then the curve's type.
    const std::vector<uint8_t> header{1, 0, 0, 0, 0,    0,    0, 0, 0, 0, 0xD0, 0x3F, 0, 0,
                                      0, 0, 0, 0, 0xE0, 0x3F, 1, 0, 0, 0, 2,    0,    0, 0};
    ASSERT_GT(bytes.size(), header.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + ptrdiff_t(header.size())), header);

    ShapeClipboard clip = readShapeClipboard(bytes.data(), bytes.size(), 1);
    EXPECT_EQ(clip.origin, (PointD{0.25, 0.5}));
    ASSERT_EQ(clip.shapes.size(), 1u);
    Shapes expected;
    expected.push_back(shapes[1]->Clone());
    EXPECT_EQ(bytesOf(clip.shapes), bytesOf(expected));
}

TEST(ShapeClipboard, ReadingStopsAtAnUnknownShapeAndKeepsTheOnesBefore) {
    Shapes shapes = twoShapes();
    for (auto& shape : shapes)
        shape->selected = true;
    std::vector<uint8_t> bytes = writeShapeClipboard(shapes, 5);
    const size_t secondType = 24 + bytesOf(Shapes{}).size() + [&] {
        Shapes first;
        first.push_back(shapes[0]->Clone());
        return bytesOf(first).size();
    }();
    bytes[secondType] = 9;
    const ShapeClipboard clip = readShapeClipboard(bytes.data(), bytes.size(), 1);
    ASSERT_EQ(clip.shapes.size(), 1u);
    EXPECT_EQ(clip.shapes[0]->keyframeTimes, std::vector<double>{0.0}) << "times fit a one-frame timeline";
}

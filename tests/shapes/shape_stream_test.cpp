#include <gtest/gtest.h>

#include "shape_bytes.h"

#include "shapes/callout_library.h"
#include "shapes/polygon_shape.h"
#include "shapes/shape_factory.h"

using namespace quib;
using quib::test::RawBytes;
using quib::testing::bytesOf;

namespace {

std::unique_ptr<Shape> readBack(const std::vector<uint8_t>& bytes) {
    ByteReader in(bytes);
    auto shape = readShape(in);
    EXPECT_TRUE(in.atEnd());
    return shape;
}

}  // namespace

TEST(ShapeStream, HandWrittenCurveBodyReads) {
    RawBytes b;
    b.u32(2).u32(5).chars("Curva").u32(4).u32(0x00112233).u32(3).u32(1).u32(2).u32(1).u32(0);
    b.f64(0).f64(7);
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 4; ++j)
            b.f64(j * 0.25 + k).f64(0.5);
    auto shape = readBack(b.b);
    ASSERT_EQ(shape->type(), ShapeType::Curve);
    EXPECT_EQ(shape->name, "Curva");
    EXPECT_EQ(shape->pointCount, 4);
    EXPECT_EQ(shape->colour, 0x00112233u);
    EXPECT_EQ(shape->penWidth, 3);
    EXPECT_EQ(shape->penStyle, 1);
    EXPECT_EQ(shape->keyframeCount(), 2);
    EXPECT_TRUE(shape->closed);
    EXPECT_FALSE(shape->permanent);
    EXPECT_EQ(shape->keyframeTimes, (std::vector<double>{0, 7}));
    EXPECT_EQ(shape->keyframePoint(1, 3), (PointD{1.75, 0.5}));
    EXPECT_TRUE(shape->current.empty()) << "reading does not compute the current points";
}

// A new callout's text field: a dotted, permanent, open outline just inside the box.
TEST(ShapeStream, WriteMatchesTheLayoutByteForByte) {
    RawBytes expected;
    expected.u32(1).u32(6).chars("Shape1").u32(5).u32(0).u32(1).u32(2).u32(1).u32(0).u32(1).f64(0);
    expected.f64(0.03).f64(0.03).f64(0.97).f64(0.03).f64(0.97).f64(0.97).f64(0.03).f64(0.97).f64(0.03).f64(
        0.03);
    EXPECT_EQ(bytesOf(*CalloutLibrary().NewCallout(0).shapes[0]), expected.b);
}

TEST(ShapeStream, NullNameWritesZeroAndOverlongNameIsCutWhenWrittenAndRejectedWhenRead) {
    const std::vector<uint8_t> bytes = bytesOf(PolygonShape());
    EXPECT_EQ(bytes[4], 0) << "the name's length, after the type";
    auto back = readBack(bytes);
    ASSERT_TRUE(back->name.has_value());
    EXPECT_EQ(*back->name, "");

    PolygonShape longName;
    longName.name = std::string(300, 'n');
    EXPECT_EQ(readBack(bytesOf(longName))->name->size(), kMaxShapeNameBytes);

    RawBytes b;
    b.u32(1).u32(260).chars(std::string(260, 'x')).u32(0).u32(0).u32(1).u32(0).u32(0).u32(0).u32(0);
    ByteReader in(b.b);
    EXPECT_THROW(readShape(in), FormatError);
}

TEST(ShapeStream, MalformedBodiesFailCleanlyAndLeaveTheShapeAsItWas) {
    auto body = [](uint32_t type, int32_t points, int32_t keyframes) {
        RawBytes b;
        b.u32(type).u32(0).u32(uint32_t(points)).u32(0).u32(1).u32(0).u32(uint32_t(keyframes)).u32(0).u32(0);
        return b;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    RawBytes nan = body(1, 1, 1);
    nan.f64(0).f64(std::nan("")).f64(0);
    std::vector<Case> cases = {
        {"unknown type", body(9, 0, 0).b},
        {"negative point count", body(1, -1, 1).b},
        {"huge point count", body(1, 0x7FFFFFFF, 1).f64(0).b},
        {"huge keyframe count", body(2, 1, 0x7FFFFFFF).b},
        {"not a number", nan.b},
        {"truncated header", std::vector<uint8_t>{1, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ByteReader in(c.bytes);
        EXPECT_THROW(readShape(in), FormatError) << c.what;
    }
    PolygonShape shape;
    shape.name = "keep";
    shape.SetPoints({{0.5, 0.5}});
    RawBytes b;
    b.u32(3).chars("abc").u32(1);
    ByteReader in(b.b);
    EXPECT_THROW(shape.Read(in), FormatError);
    EXPECT_EQ(shape.name, "keep");
    EXPECT_EQ(shape.pointCount, 1);
}

TEST(ShapeFactoryRegistry, DuplicatesAreDiscardedAndUnknownTypesGiveNothing) {
    ShapeFactory factory;
    EXPECT_TRUE(factory.Register(std::make_unique<PolygonShape>()));
    EXPECT_FALSE(factory.Register(std::make_unique<PolygonShape>()));
    EXPECT_EQ(factory.size(), 1u);
    EXPECT_EQ(factory.Create(1)->type(), ShapeType::Polygon);
    EXPECT_EQ(factory.Create(2), nullptr);
    EXPECT_EQ(ShapeFactory::instance().size(), 3u);
    EXPECT_EQ(ShapeFactory::instance().Create(3)->type(), ShapeType::Fill);
}

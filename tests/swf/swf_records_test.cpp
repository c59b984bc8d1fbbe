#include <gtest/gtest.h>

#include <functional>

#include "swf/swf_shape_object.h"
#include "swf_test_helpers.h"

using namespace quib;
using swftest::BitReader;
using swftest::streamBytes;

namespace {

template <class Record>
std::vector<uint8_t> encoded(const Record& r) {
    SwfStream s;
    r.encode(s);
    return streamBytes(s);
}

// All four values share the signed bit count; huge values saturate instead of overflowing it.
TEST(SwfRectRecord, UsesTheSignedBitCountOfAllFourValues) {
    const std::vector<uint8_t> bytes = encoded(SwfRect{INT32_MIN, INT32_MAX, 0, 0});
    BitReader in = swftest::readerOf(bytes);
    const swftest::Rect d = swftest::readRect(in);
    EXPECT_EQ(d.bits, 31);
    EXPECT_EQ(d.edges(), (std::array{-(1 << 30), (1 << 30) - 1, 0, 0}));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(bytes.size(), size_t((5 + 4 * 31 + 7) / 8));
}

// Records whose whole encoding is known byte for byte.
TEST(SwfRecordBytes, ByHand) {
    struct Case {
        const char* what;
        std::function<void(SwfStream&)> encode;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {"identity matrix", [](SwfStream& s) { SwfMatrix::makeIdentity().encode(s); }, {0x00}},
        // scale in 21 bits (0xA0000 < 2^20, plus the sign), no rotation, translation in 7 bits
        {"scale and translation with their bit counts",
         [](SwfStream& s) { SwfMatrix::scaleTranslate(65536, 0xA0000, 40, -5).encode(s); },
         {0xD4, 0x20, 0x00, 0x0A, 0x00, 0x00, 0x1D, 0x47, 0xB0}},
        {"empty colour transform", [](SwfStream& s) { SwfEmptyColorTransform().encode(s); }, {0x04}},
        {"play, stop, goto and the end byte",
         [](SwfStream& s) {
             encodeActionList({{SwfAction::Play, 0}, {SwfAction::Stop, 0}, {SwfAction::GotoFrame, 0x0102}},
                              s);
         },
         {0x06, 0x07, 0x81, 0x02, 0x00, 0x02, 0x01, 0x00}},
        {"style count 254", [](SwfStream& s) { encodeStyleCount(254, s); }, {254}},
        {"style count escape from 255", [](SwfStream& s) { encodeStyleCount(255, s); }, {255, 255, 0}},
        // edge, straight, 4 + 2 bits, general; 3 and -20; then the end record
        {"diagonal edge in the general form",
         [](SwfStream& s) {
             SwfShapeRecord::makeEdge(3, -20).encode(s, 0, 0);
             SwfShapeRecord::makeEnd().encode(s, 0, 0);
         },
         {0b11010010, 0b00011101, 0b10000000, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SwfStream s;
        c.encode(s);
        EXPECT_EQ(streamBytes(s), c.expected);
    }
}

swftest::DefineShape3 definedShape(ShapeObject& shape) {
    SwfMovie movie;
    movie.frame(0).place(shape);
    swftest::Movie decoded = swftest::writeAndDecode(movie);
    auto tags = swftest::tagsWithCode(decoded, 32);
    EXPECT_EQ(tags.size(), 1u);
    return swftest::parseDefineShape3(*tags.at(0));
}

// Pixels are written as twips, twenty to a pixel.
TEST(SwfShapeRecords, SolidRectangleWithOutlineIsOnePixelLargerInTwips) {
    ShapeObject shape(10, 20, 109, 69);
    shape.setFillColor({1, 2, 3, 4});
    shape.setLineColor({5, 6, 7, 8});
    shape.setLineWidth(20);
    swftest::DefineShape3 s = definedShape(shape);

    EXPECT_EQ(s.characterId, 1);
    EXPECT_EQ(s.bounds.edges(), (std::array{200, 2200, 400, 1400}));
    ASSERT_EQ(s.fills.size(), 1u);
    EXPECT_EQ(s.fills[0].type, 0x00);
    EXPECT_EQ(std::vector<uint8_t>(s.fills[0].color, s.fills[0].color + 4),
              (std::vector<uint8_t>{1, 2, 3, 4}));
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].width, 20);
    EXPECT_EQ(s.lines[0].color[3], 8);
    EXPECT_EQ(s.fillBits, 1);
    EXPECT_EQ(s.lineBits, 1);

    // Move in 10 bits choosing fill 1 and line 1; sides in 12 and 11 bits (2000 needs 11 plus the sign).
    using Record = swftest::ShapeRecord;
    const Record start{.kind = Record::StyleChange,
                       .hasLine = true,
                       .hasFill1 = true,
                       .hasMove = true,
                       .moveBits = 10,
                       .moveX = 200,
                       .moveY = 400,
                       .fill1 = 1,
                       .line = 1};
    const auto edge = [](int bits, int32_t dx, int32_t dy) {
        return Record{.kind = Record::Edge, .numBits = bits, .vertical = dx == 0, .dx = dx, .dy = dy};
    };
    EXPECT_EQ(s.records, (std::vector<Record>{start, edge(12, 2000, 0), edge(11, 0, 1000), edge(12, -2000, 0),
                                              edge(11, 0, -1000), Record{}}));
    EXPECT_EQ(s.unreadBytes, 0u);
}

TEST(SwfShapeRecords, GradientFillCarriesItsMatrixAndRecords) {
    ShapeObject shape(0, 0, 9, 9);
    shape.setGradient(ShapeObject::FillKind::RadialGradient, SwfMatrix::scaleTranslate(65536, 65536, 5, 5),
                      {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}});
    swftest::DefineShape3 s = definedShape(shape);
    ASSERT_EQ(s.fills.size(), 1u);
    EXPECT_EQ(s.fills[0].type, 0x12);
    EXPECT_EQ(s.fills[0].matrix.translateX, 5);
    ASSERT_EQ(s.fills[0].gradient.size(), 2u);
    EXPECT_EQ(s.fills[0].gradient[1].first, 255);
    EXPECT_EQ(s.fills[0].gradient[1].second, (std::vector<uint8_t>{0, 0, 255, 255}));
}

}  // namespace

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>

#include "swf/swf_shape_object.h"
#include "swf_test_helpers.h"

using namespace quib;
using swftest::TestBitmap;

namespace {

swftest::BitsLossless roundTrip(const SwfDefineBitsLosslessTag& tag) {
    return swftest::parseBitsLossless(swftest::encodeAndDecodeTag(tag));
}

std::unique_ptr<SwfDefineBitsLosslessTag> build(const SwfBitmapDescription& d, std::string* error = nullptr) {
    std::string ignored;
    return SwfDefineBitsLosslessTag::build(7, d, error ? error : &ignored);
}

TEST(SwfBitmapTag, EightBitRowsPaddedTableWithOrWithoutAlpha_ThirtyTwoBitFourBytesAPixel) {
    TestBitmap b = swftest::indexedBitmap(3, 2, 3, true);
    b.pixels[3] = 0xEE;  // the padding byte travels with the row
    auto tag = build(b.description);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->code(), 36);
    swftest::BitsLossless d = roundTrip(*tag);
    ASSERT_EQ(d.data.size(), 3u * 4 + 2u * 4);
    EXPECT_EQ(swftest::bytesAt(d.data, 0, 12), b.colors);
    EXPECT_EQ(swftest::bytesAt(d.data, 12, 8), b.pixels);
    EXPECT_EQ(d.data[12 + 3], 0xEE);

    b = swftest::indexedBitmap(5, 1, 2, false);
    tag = build(b.description);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->code(), 20);
    d = roundTrip(*tag);
    ASSERT_EQ(d.data.size(), 2u * 3 + 8u);
    EXPECT_EQ(swftest::bytesAt(d.data, 0, 6), (std::vector<uint8_t>{0, 0, 0, 10, 20, 30}));

    b = swftest::argbBitmap(3, 4, false);
    tag = build(b.description);
    ASSERT_TRUE(tag);
    d = roundTrip(*tag);
    EXPECT_EQ(d.format, 5);
    EXPECT_EQ(d.colorTableSize, 0);
    EXPECT_EQ(d.data, b.pixels);
}

TEST(SwfBitmapTag, PremultipliedPixelsFromBlueGreenRedAlpha) {
    Bitmap32 picture;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = {200, 100, 50, 128, 10, 20, 30, 0};
    std::vector<uint8_t> argb = swfPremultipliedArgb(picture);
    EXPECT_EQ(argb,
              (std::vector<uint8_t>{128, 50 * 128 / 255, 100 * 128 / 255, 200 * 128 / 255, 0, 0, 0, 0}));

    TestBitmap b = swftest::argbBitmap(2, 1, true);
    b.description.pixels = argb;
    auto tag = build(b.description);
    ASSERT_TRUE(tag);
    EXPECT_EQ(roundTrip(*tag).data, argb);
}

TEST(SwfBitmapTag, RecompressedDownToTheFirstLevelReaching96Bytes) {
    // 4 x 4 of one colour: level 9 gives a few bytes, so every level down to 0 is tried.
    TestBitmap b = swftest::argbBitmap(4, 4, false);
    std::fill(b.pixels.begin(), b.pixels.end(), 0x11);
    auto tag = build(b.description);
    ASSERT_TRUE(tag);
    // Stored: 2 bytes zlib header, 5 bytes block header, 64 bytes, 4 bytes Adler-32.
    EXPECT_EQ(tag->compressedSize(), 75u);
    const std::vector<uint8_t>& data = *tag->compressedData();
    EXPECT_EQ(data[2], 0x01);  // final stored block
    EXPECT_EQ(roundTrip(*tag).data, b.pixels);

    // Noise of 32 pixels compresses to over 96 bytes at level 9 already.
    TestBitmap noisy = swftest::argbBitmap(8, 4, false, 99);
    tag = build(noisy.description);
    ASSERT_TRUE(tag);
    std::vector<uint8_t> level9(200);
    uLongf n = uLongf(level9.size());
    ASSERT_EQ(compress2(level9.data(), &n, noisy.pixels.data(), uLong(noisy.pixels.size()), 9), Z_OK);
    level9.resize(n);
    ASSERT_GE(level9.size(), 96u);
    EXPECT_EQ(*tag->compressedData(), level9);
    // The compressed block is shared, not copied into the stream.
    SwfStream s;
    encodeTag(*tag, s);
    EXPECT_EQ(tag->compressedData().use_count(), 2);
    EXPECT_LT(s.inlineLength(), 20u);
    EXPECT_EQ(s.length(), s.inlineLength() + tag->compressedSize());
}

TEST(SwfBitmapTag, RefusesDescriptionsThatDoNotHoldTogether) {
    TestBitmap b = swftest::indexedBitmap(4, 4, 4, true);
    const std::function<void(SwfBitmapDescription&)> faults[] = {
        [&b](SwfBitmapDescription& d) { d.pixels = std::span(b.pixels.data(), b.pixels.size() - 1); },
        [](SwfBitmapDescription& d) { d.colorCount = 5; },
        [](SwfBitmapDescription& d) { d.format = 4; },
        [](SwfBitmapDescription& d) { d.width = 0; },
        [](SwfBitmapDescription& d) { d.level = 12; },
    };
    for (size_t i = 0; i < std::size(faults); ++i) {
        SCOPED_TRACE(i);
        SwfBitmapDescription d = b.description;
        faults[i](d);
        std::string error;
        EXPECT_FALSE(build(d, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(SwfBitmapObject, FailedOrForeignBitmapRefusesTheMovie) {
    SwfMovie movie;
    TestBitmap b = swftest::argbBitmap(4, 4, false);
    b.description.pixels = {};
    BitmapObject object(movie, 0, 0, 3, 3, b.description);
    EXPECT_FALSE(object.ok());
    EXPECT_FALSE(movie.frame(0).place(object));
    swftest::expectRefused(movie);

    SwfMovie first, second;
    BitmapObject made(first, 0, 0, 3, 3, swftest::argbBitmap(4, 4, false).description);
    ASSERT_TRUE(made.ok());
    EXPECT_FALSE(second.frame(0).place(made));
    swftest::expectRefused(second);
}

}  // namespace

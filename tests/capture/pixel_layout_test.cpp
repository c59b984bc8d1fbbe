#include <gtest/gtest.h>

#include <vector>

#include "capture/pixel_layout.h"

using namespace quib;

namespace {

// A server image: rows padded to stride, each pixel written as little-endian bytes of value.
std::vector<uint8_t> serverRows(int width, int height, size_t stride, int bytesPerPixel,
                                uint32_t (*value)(int x, int y)) {
    std::vector<uint8_t> rows(stride * size_t(height), 0xEE);  // padding that must not leak
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < bytesPerPixel; ++i)
                rows[size_t(y) * stride + size_t(x) * bytesPerPixel + i] = uint8_t(value(x, y) >> (8 * i));
    return rows;
}

uint32_t rgbPattern(int x, int y) {
    return (uint32_t(x * 10) << 16) | (uint32_t(y * 20) << 8) | uint32_t(x + y);
}

}  // namespace

// Row padding is checked with the packing below.
TEST(PixelLayout, OddDepthsAndMasksAreRejected) {
    PixelLayout layout;
    EXPECT_TRUE(layout.isSupported());
    layout.bitsPerPixel = 8;
    EXPECT_FALSE(layout.isSupported());
    layout.bitsPerPixel = 32;
    layout.greenMask = 0x00F0F0;  // not one run of bits
    EXPECT_FALSE(layout.isSupported());
}

TEST(PackScreenRows, RowsOf32And24BitsPackToThreeBytesPerPixelWithoutTheirPadding) {
    const struct {
        int bitsPerPixel, width, height;
        size_t stride;
    } cases[] = {
        {32, 5, 3, 20},  // 3W = 15, not a multiple of 4
        {24, 3, 2, 12},  // 9 bytes of pixels in a 12-byte row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bitsPerPixel);
        PixelLayout layout;
        layout.bitsPerPixel = c.bitsPerPixel;
        ASSERT_EQ(layout.rowBytes(c.width), c.stride);
        const std::vector<uint8_t> rows =
            serverRows(c.width, c.height, c.stride, c.bitsPerPixel / 8, rgbPattern);
        Bitmap24 out(c.width, c.height);
        packScreenRows(rows.data(), c.stride, c.width, c.height, layout, out, 0, 0);
        ASSERT_EQ(out.pixels.size(), size_t(c.width) * size_t(c.height) * 3);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const uint8_t* p = out.pixel(x, y);
                EXPECT_EQ(std::vector<uint8_t>(p, p + 3),
                          (std::vector<uint8_t>{uint8_t(x + y), uint8_t(y * 20), uint8_t(x * 10)}))
                    << x << "," << y;
            }
        }
    }
}

TEST(PackScreenRows, SixteenBitBigEndianAndOffsetPixels) {
    PixelLayout wide;
    const uint8_t offsetRows[4] = {7, 8, 9, 0};
    Bitmap24 out(3, 2);
    packScreenRows(offsetRows, 4, 1, 1, wide, out, 2, 1);
    EXPECT_EQ(out.pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 8, 9}))
        << "written at the given offset only";

    PixelLayout big;
    big.bigEndian = true;
    const uint8_t bigRows[4] = {0x00, 0x11, 0x22, 0x33};  // 0x00112233: red 0x11, green 0x22, blue 0x33
    Bitmap24 one(1, 1);
    packScreenRows(bigRows, 4, 1, 1, big, one, 0, 0);
    EXPECT_EQ(one.pixels, (std::vector<uint8_t>{0x33, 0x22, 0x11}));

    PixelLayout layout;
    layout.bitsPerPixel = 16;
    layout.redMask = 0xF800;
    layout.greenMask = 0x07E0;
    layout.blueMask = 0x001F;
    const uint8_t rows[4] = {0xFF, 0xFF, 0x1F, 0x00};  // white, then full blue: scaled to full range
    Bitmap24 two(2, 1);
    packScreenRows(rows, 4, 2, 1, layout, two, 0, 0);
    EXPECT_EQ(two.pixels, (std::vector<uint8_t>{255, 255, 255, 255, 0, 0}));
}

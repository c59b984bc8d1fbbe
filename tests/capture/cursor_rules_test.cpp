#include <gtest/gtest.h>

#include <vector>

#include "capture/cursor_rules.h"

using namespace quib;

namespace {

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

void expectPixel(const Bitmap32& image, int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    const uint8_t* p = image.pixel(x, y);
    EXPECT_EQ(p[0], b) << "blue at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], r) << "red at " << x << "," << y;
    EXPECT_EQ(p[3], a) << "alpha at " << x << "," << y;
}

void expectTransparent(const Bitmap32& image, int x, int y) {
    expectPixel(image, x, y, 1, 1, 1, 0);
}

}  // namespace

TEST(CursorPicture, SmallOrUnreadableCursorIsPaddedTo32WithTransparentPixelsALargerOneKeepsItsSize) {
    std::vector<uint32_t> pixels(4 * 2, argb(255, 10, 20, 30));
    CursorPicture cursor = cursorPictureFromArgb(pixels.data(), 4, 2, Point{1, 1});
    ASSERT_EQ(cursor.image.width, 32);
    ASSERT_EQ(cursor.image.height, 32);
    EXPECT_EQ(cursor.hotSpot, (Point{1, 1}));
    expectPixel(cursor.image, 3, 1, 30, 20, 10, 255);
    expectTransparent(cursor.image, 4, 0);
    expectTransparent(cursor.image, 0, 2);
    expectTransparent(cursor.image, 31, 31);
    pixels.assign(40 * 36, 0);
    pixels[35 * 40 + 39] = argb(255, 255, 255, 255);
    cursor = cursorPictureFromArgb(pixels.data(), 40, 36, Point{});
    ASSERT_EQ(cursor.image.width, 40);
    ASSERT_EQ(cursor.image.height, 36);
    expectPixel(cursor.image, 39, 35, 255, 255, 255, 255);
    expectTransparent(cursor.image, 0, 0);
    // An unreadable cursor is transparent, 32 x 32, with its hot spot at the origin.
    cursor = transparentCursorPicture();
    ASSERT_EQ(cursor.image.width, 32);
    ASSERT_EQ(cursor.image.height, 32);
    EXPECT_EQ(cursor.hotSpot, (Point{0, 0}));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            expectTransparent(cursor.image, x, y);
}

TEST(CursorPicture, CoverageFollowsAlphaThresholdAndOneOneOneIsTransparent) {
    // Premultiplied: alpha 200 with red 100 is the straight colour 128 (100 * 255 / 200, rounded).
    std::vector<uint32_t> pixels{argb(127, 127, 0, 0), argb(128, 128, 0, 0), argb(200, 100, 0, 200),
                                 argb(0, 0, 0, 0)};
    CursorPicture cursor = cursorPictureFromArgb(pixels.data(), 4, 1, Point{});
    expectTransparent(cursor.image, 0, 0);
    expectPixel(cursor.image, 1, 0, 0, 0, 255, 255);
    expectPixel(cursor.image, 2, 0, 255, 0, 128, 255);
    expectTransparent(cursor.image, 3, 0);
    // A pixel of exactly (1, 1, 1) becomes transparent.
    pixels = {argb(255, 1, 1, 1), argb(255, 1, 1, 2), argb(255, 0, 0, 0)};
    cursor = cursorPictureFromArgb(pixels.data(), 3, 1, Point{});
    expectTransparent(cursor.image, 0, 0);
    expectPixel(cursor.image, 1, 0, 2, 1, 1, 255);
    expectPixel(cursor.image, 2, 0, 0, 0, 0, 255);
}

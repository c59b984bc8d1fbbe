#include <gtest/gtest.h>

#include <algorithm>

#include "capture/region_frame.h"
#include "support/bytes_and_pictures.h"

using namespace quib;

namespace {
// A picture where every pixel differs, so that a misplaced toggle shows.
Bitmap24 patterned(int w, int h) {
    Bitmap24 picture(w, h);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = uint8_t(i * 7 + 3);
    return picture;
}

bool untouched(const Bitmap24& picture, int x, int y, uint8_t value) {
    const uint8_t* p = picture.pixel(x, y);
    return p[0] == value && p[1] == value && p[2] == value;
}
}  // namespace

TEST(RegionFrame, MarksAFourPixelFrameInsideTheRegionWithNotXorGrey) {
    Bitmap24 picture = test::solidImage({40, 30}, 255, 255, 255);
    toggleRegionFrame(picture, Rect{5, 6, 25, 26});
    // NOT(255 XOR 64) = 64.
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(untouched(picture, 5 + i, 15, 64)) << i;   // left edge, inward
        EXPECT_TRUE(untouched(picture, 24 - i, 15, 64)) << i;  // right edge (exclusive bound)
        EXPECT_TRUE(untouched(picture, 15, 6 + i, 64)) << i;
        EXPECT_TRUE(untouched(picture, 15, 25 - i, 64)) << i;
    }
    EXPECT_TRUE(untouched(picture, 9, 15, 255));  // the inside stays
    EXPECT_TRUE(untouched(picture, 4, 15, 255));  // the outside stays
    EXPECT_TRUE(untouched(picture, 25, 15, 255));
    EXPECT_TRUE(untouched(picture, 5, 6, 64));  // corners are toggled once, not twice
    EXPECT_TRUE(untouched(picture, 24, 25, 64));

    // Tiny regions toggle each pixel once.
    picture = test::solidImage({10, 10}, 0, 0, 0);
    toggleRegionFrame(picture, Rect{2, 2, 5, 5});  // 3 x 3: the border, then the middle
    for (int y = 2; y < 5; ++y)
        for (int x = 2; x < 5; ++x)
            EXPECT_TRUE(untouched(picture, x, y, 191)) << x << "," << y;  // NOT(0 XOR 64)
    Bitmap24 line = test::solidImage({10, 10}, 0, 0, 0);
    toggleRegionFrame(line, Rect{1, 4, 9, 5});  // one row high
    for (int x = 1; x < 9; ++x)
        EXPECT_TRUE(untouched(line, x, 4, 191)) << x;
    toggleRegionFrame(line, Rect{3, 3, 3, 8});  // zero wide: nothing
    EXPECT_TRUE(untouched(line, 3, 5, 0));
}

TEST(RegionFrame, DrawingTwiceRestoresThePictureAReversedRegionDrawsNormalizedAndAnOutsidePartIsCut) {
    Bitmap24 original = patterned(50, 40);
    Bitmap24 picture = original, reversed = original;
    toggleRegionFrame(picture, Rect{3, 4, 33, 20});
    toggleRegionFrame(reversed, Rect{33, 20, 3, 4});
    EXPECT_EQ(reversed.pixels, picture.pixels);
    toggleRegionFrame(picture, Rect{3, 4, 33, 20});
    EXPECT_EQ(picture.pixels, original.pixels);

    original = patterned(20, 20);
    picture = original;
    toggleRegionFrame(picture, Rect{-10, -10, 10, 30});
    EXPECT_TRUE(std::equal(picture.pixel(9, 5), picture.pixel(9, 5) + 3, original.pixel(9, 5)) == false);
    toggleRegionFrame(picture, Rect{-10, -10, 10, 30});
    EXPECT_EQ(picture.pixels, original.pixels);
    EXPECT_EQ(regionFrameBounds(picture, Rect{-10, -10, 10, 30}), (Rect{0, 0, 10, 20}));
}

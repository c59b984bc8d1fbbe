#include <gtest/gtest.h>

#include "palette/standard_palettes.h"

namespace quib {

TEST(StandardPalettes, SixteenColoursInClassicOrder) {
    const auto p = StandardPalette16();
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p[0], (PaletteEntry{0, 0, 0, 255}));
    EXPECT_EQ(p[1], (PaletteEntry{128, 0, 0, 255}));
    EXPECT_EQ(p[7], (PaletteEntry{192, 192, 192, 255}));
    EXPECT_EQ(p[8], (PaletteEntry{128, 128, 128, 255}));
    EXPECT_EQ(p[12], (PaletteEntry{0, 0, 255, 255}));
    EXPECT_EQ(p[15], (PaletteEntry{255, 255, 255, 255}));
}

TEST(StandardPalettes, WebSafeRedVariesFastest) {
    const auto p = WebSafePalette216();
    ASSERT_EQ(p.size(), 216u);
    EXPECT_EQ(p[0], (PaletteEntry{0, 0, 0, 255}));
    EXPECT_EQ(p[1], (PaletteEntry{51, 0, 0, 255}));
    EXPECT_EQ(p[6], (PaletteEntry{0, 51, 0, 255}));
    EXPECT_EQ(p[36], (PaletteEntry{0, 0, 51, 255}));
    EXPECT_EQ(p[2 + 6 * 3 + 36 * 4], (PaletteEntry{102, 153, 204, 255}));
    EXPECT_EQ(p[215], (PaletteEntry{255, 255, 255, 255}));
}

}  // namespace quib

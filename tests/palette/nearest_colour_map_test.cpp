#include <gtest/gtest.h>

#include <random>

#include "palette/nearest_colour_map.h"

using namespace quib;

namespace {

int bruteForce(const PaletteEntry* palette, int first, int count, bool skipTransparent, int b, int g, int r) {
    int best = 1 << 30, index = 0;
    for (int i = first; i < count; ++i) {
        if (skipTransparent && palette[i].flags == 0)
            continue;
        const int d = (r - palette[i].red) * (r - palette[i].red) +
                      (g - palette[i].green) * (g - palette[i].green) +
                      (b - palette[i].blue) * (b - palette[i].blue);
        if (d < best)
            best = d, index = i;
    }
    return index;
}

}  // namespace

TEST(NearestColourMap, AgreesWithAFullSearchForColoursThatShareSlotsAndGivesZeroWithoutCandidates) {
    std::mt19937 random(7);
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(random()), uint8_t(random()), uint8_t(random()), uint8_t(i % 5 ? 255 : 0)};
    palette[200] = palette[100];  // equal entries: the lower index wins
    palette[100].flags = 255;
    palette[200].flags = 255;
    struct Case {
        int first, count;
        bool skipTransparent;
    };
    for (const Case c : {Case{0, 256, true}, Case{1, 256, false}, Case{0, 17, true}}) {
        NearestColourMap map(palette, c.first, c.count, c.skipTransparent);
        // More colours than the map has slots, each asked twice, so remembered answers are read
        // back after other colours took their slots.
        std::mt19937 colours(11);
        for (int round = 0; round < 2; ++round) {
            for (int n = 0; n < 150000; ++n) {
                const uint32_t v = colours();
                const int b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
                ASSERT_EQ(map.nearest(uint8_t(b), uint8_t(g), uint8_t(r)),
                          bruteForce(palette, c.first, c.count, c.skipTransparent, b, g, r))
                    << c.first << " " << c.count << " " << v;
            }
            colours.seed(11);
        }
        if (c.count > 200) {
            EXPECT_EQ(map.nearest(palette[100].blue, palette[100].green, palette[100].red), 100);
        }
    }
    const PaletteEntry transparent[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    NearestColourMap none(transparent, 0, 2, true);
    EXPECT_EQ(none.nearest(4, 5, 6), 0);
    EXPECT_EQ(none.nearest(255, 255, 255), 0);
}

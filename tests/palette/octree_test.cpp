#include <gtest/gtest.h>

#include "palette/octree.h"
#include "support/bytes_and_pictures.h"

namespace quib {

using test::rowPicture;

TEST(Octree, PalettesOfPictures) {
    struct Case {
        const char* what;
        Bitmap24 picture;
        int maximum;
        std::vector<PaletteEntry> expected;
    };
    const Case cases[] = {
        // Tree order interleaves the bits: the first differing bit of red, then green, then blue.
        {"fewer colours than the maximum: exactly those, in tree order",
         rowPicture({{255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {10, 20, 30}}),
         8,
         {{10, 20, 30, 255}, {0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}}},
        // 10,10,10 and 11,11,11 share every node down to level 7; 200,0,0 branches at level 0.
        // Its own level-7 node is the newest and folding its one child frees nothing, so the
        // greys' level-7 node is folded next: (10 + 11 + 11) / 3 = 10.
        {"reduction merges the deepest newest node into the average",
         rowPicture({{10, 10, 10}, {11, 11, 11}, {11, 11, 11}, {200, 0, 0}}),
         2,
         {{10, 10, 10, 255}, {200, 0, 0, 255}}},
        {"one colour averages everything",
         rowPicture({{0, 0, 0}, {255, 255, 255}}),
         1,
         {{127, 127, 127, 255}}},
        {"maximum below one", rowPicture({{1, 2, 3}}), 0, {}},
        {"empty picture", Bitmap24(), 8, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto p = OctreePalette(c.picture, c.maximum);
        EXPECT_EQ(std::vector<PaletteEntry>(p.begin(), p.end()), c.expected);
    }
}

TEST(Octree, SumsDoNotOverflowOnHugePixelCounts) {
    OctreeQuantizer tree(1);
    for (int i = 0; i < 20'000'000; ++i)
        tree.addPixel(255, 255, 255);  // red sum passes 2^32
    tree.addPixel(0, 0, 0);
    const auto p = tree.palette();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].red, 254);
}

}  // namespace quib

#include <gtest/gtest.h>

#include "palette/frame_palette.h"
#include "support/bytes_and_pictures.h"

namespace quib {

using test::rowPicture;
using test::solidImage;

// White ends every palette of frames that hold it: appended when there is room, replacing the
// last entry when the palette is full. The background counts too.
TEST(FramePalette, WhiteIsKeptAsTheLastEntryAndTheBackgroundIncluded) {
    const PaletteEntry white{255, 255, 255, 255}, black{0, 0, 0, 255};
    struct Case {
        const char* what;
        std::vector<Bitmap24> frames;
        Bitmap24 background;
        int maximum;
        std::vector<PaletteEntry> expected;
    };
    const Case cases[] = {
        {"appended when not full", {rowPicture({{0, 0, 0}, {255, 255, 255}})}, {}, 4, {black, white, white}},
        // 254 and 255 fold into one leaf of average 254; white then takes its place.
        {"replaces the last when full",
         {rowPicture({{0, 0, 0}, {254, 254, 254}, {255, 255, 255}})},
         {},
         2,
         {black, white}},
        {"nothing added without white",
         {rowPicture({{1, 2, 3}, {4, 5, 6}})},
         {},
         16,
         {{1, 2, 3, 255}, {4, 5, 6, 255}}},
        {"background included",
         {solidImage({3, 2}, 0, 0, 10), solidImage({3, 2}, 0, 0, 10)},
         solidImage({5, 3}, 99, 0, 0),
         8,
         {{10, 0, 0, 255}, {0, 0, 99, 255}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NullProgress progress;
        const auto p = BuildPaletteFromFrames(c.frames, c.background.isNull() ? nullptr : &c.background,
                                              c.maximum, progress);
        ASSERT_TRUE(p);
        EXPECT_EQ(*p, c.expected);
    }
}

TEST(FramePalette, FramesAreRequestedOneAtATimeInOrderAndAnUnreadableOneOrBadCountGivesNoPalette) {
    std::vector<int> asked;
    PaletteSource source;
    source.frameCount = 3;
    source.frameHeight = 1;
    source.frameAt = [&](int index, Bitmap24& picture) {
        asked.push_back(index);
        picture = rowPicture({{uint8_t(index * 100), 0, 0}});
        return true;
    };
    NullProgress progress;
    const auto p = BuildPaletteFromFrames(source, 256, progress);
    ASSERT_TRUE(p);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(p->size(), 3u);
    source.frameCount = 1;
    source.frameAt = [](int, Bitmap24&) { return false; };
    EXPECT_FALSE(BuildPaletteFromFrames(source, 8, progress));
    const std::vector<Bitmap24> frames = {rowPicture({{1, 1, 1}})};
    EXPECT_FALSE(BuildPaletteFromFrames(frames, nullptr, 257, progress));
}

}  // namespace quib

#include <gtest/gtest.h>

#include "palette/frame_palette.h"
#include "test_pictures.h"

namespace quib {

using test::filledPicture;
using test::rowPicture;

namespace {

class RecordingProgress : public Progress {
public:
    void setText(const std::string& t) override { text = t; }
    void setRange(int low, int high) override { rangeLow = low, rangeHigh = high; }
    void setPosition(int p) override { positions.push_back(p); }
    bool cancelled() const override { return cancelAt >= 0 && int(positions.size()) >= cancelAt; }
    std::string text;
    int rangeLow = -1, rangeHigh = -1;
    std::vector<int> positions;
    int cancelAt = -1;
};

}  // namespace

TEST(FramePalette, BlackAndWhiteToOneColourEndsAsWhite) {
    const std::vector<Bitmap24> frames = {filledPicture(4, 2, {0, 0, 0}),
                                          filledPicture(4, 2, {255, 255, 255})};
    NullProgress progress;
    const auto p = BuildPaletteFromFrames(frames, nullptr, 1, progress);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->size(), 1u);
    EXPECT_EQ((*p)[0], (PaletteEntry{255, 255, 255, 255}));
}

TEST(FramePalette, WhiteIsAppendedWhenThePaletteIsNotFull) {
    const std::vector<Bitmap24> frames = {rowPicture({{0, 0, 0}, {255, 255, 255}})};
    NullProgress progress;
    const auto p = BuildPaletteFromFrames(frames, nullptr, 4, progress);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->size(), 3u);
    EXPECT_EQ((*p)[0], (PaletteEntry{0, 0, 0, 255}));
    EXPECT_EQ((*p)[1], (PaletteEntry{255, 255, 255, 255}));
    EXPECT_EQ((*p)[2], (PaletteEntry{255, 255, 255, 255}));
}

TEST(FramePalette, WhiteReplacesTheLastEntryWhenThePaletteIsFull) {
    // 254 and 255 fold into one leaf of average 254; white then takes its place.
    const std::vector<Bitmap24> frames = {rowPicture({{0, 0, 0}, {254, 254, 254}, {255, 255, 255}})};
    NullProgress progress;
    const auto p = BuildPaletteFromFrames(frames, nullptr, 2, progress);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->size(), 2u);
    EXPECT_EQ((*p)[0], (PaletteEntry{0, 0, 0, 255}));
    EXPECT_EQ((*p)[1], (PaletteEntry{255, 255, 255, 255}));
}

TEST(FramePalette, WithoutWhiteNothingIsAdded) {
    const std::vector<Bitmap24> frames = {rowPicture({{1, 2, 3}, {4, 5, 6}})};
    NullProgress progress;
    const auto p = BuildPaletteFromFrames(frames, nullptr, 16, progress);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->size(), 2u);
}

TEST(FramePalette, BackgroundIsIncludedAndProgressCountsRows) {
    const std::vector<Bitmap24> frames = {filledPicture(3, 2, {10, 0, 0}), filledPicture(3, 2, {10, 0, 0})};
    const Bitmap24 background = filledPicture(5, 3, {0, 0, 99});
    RecordingProgress progress;
    const auto p = BuildPaletteFromFrames(frames, &background, 8, progress);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->size(), 2u);
    EXPECT_EQ((*p)[0], (PaletteEntry{10, 0, 0, 255}));
    EXPECT_EQ((*p)[1], (PaletteEntry{0, 0, 99, 255}));
    EXPECT_EQ(progress.text, kOctreeProgressTitle);
    EXPECT_EQ(progress.rangeLow, 0);
    EXPECT_EQ(progress.rangeHigh, 2 * 2 + 3);
    EXPECT_EQ(progress.positions.back(), 7);
}

TEST(FramePalette, CancelGivesNoPalette) {
    const std::vector<Bitmap24> frames = {filledPicture(3, 4, {10, 0, 0})};
    RecordingProgress progress;
    progress.cancelAt = 3;
    EXPECT_FALSE(BuildPaletteFromFrames(frames, nullptr, 8, progress));
}

TEST(FramePalette, FramesAreRequestedOneAtATimeInOrder) {
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
}

TEST(FramePalette, UnreadableFrameOrBadCountGivesNoPalette) {
    PaletteSource source;
    source.frameCount = 1;
    source.frameHeight = 1;
    source.frameAt = [](int, Bitmap24&) { return false; };
    NullProgress progress;
    EXPECT_FALSE(BuildPaletteFromFrames(source, 8, progress));
    const std::vector<Bitmap24> frames = {rowPicture({{1, 1, 1}})};
    EXPECT_FALSE(BuildPaletteFromFrames(frames, nullptr, 0, progress));
    EXPECT_FALSE(BuildPaletteFromFrames(frames, nullptr, 257, progress));
}

}  // namespace quib

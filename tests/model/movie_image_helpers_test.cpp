#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "model/movie_image_helpers.h"
#include "raster/gui_application.h"
#include "shapes/callout.h"
#include "shapes/default_callouts.h"

using namespace quib;

namespace {

// 24-bit pixels (blue, green, red) from words 0xRRGGBB.
std::vector<uint8_t> pixels24(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> bytes;
    for (uint32_t w : words)
        for (int i = 0; i < 3; ++i)
            bytes.push_back(uint8_t(w >> (8 * i)));
    return bytes;
}

PaletteEntry entry(uint8_t r, uint8_t g, uint8_t b, uint8_t flags = 255) {
    return PaletteEntry{r, g, b, flags};
}

TEST(CompactPaletteTest, MostUsedEntriesComeFirstAndPixelsAreRenumbered) {
    std::array<PaletteEntry, 256> in{};
    for (int i = 0; i < 256; ++i)
        in[size_t(i)] = entry(uint8_t(i), 0, 0);
    // Row stride 4 with one byte of padding (value 9, which must be neither counted nor changed).
    std::vector<uint8_t> pixels{5, 5, 7, 9, 5, 2, 7, 9, 7, 5, 0, 9};
    std::array<PaletteEntry, 256> out{};
    const int kept = CompactPalette(pixels.data(), 4, in.data(), 3, 3, out.data());
    // Counts: 5 -> 4, 7 -> 3, 2 -> 1, 0 -> 1; 2 comes before 0, sharing the highest remaining count.
    ASSERT_EQ(kept, 4);
    EXPECT_EQ(std::vector<PaletteEntry>(out.begin(), out.begin() + 4),
              (std::vector{in[5], in[7], in[2], in[0]}));
    EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 0, 1, 9, 0, 2, 1, 9, 1, 0, 3, 9}));
}

TEST(ConvertImageForMovieTest, PaletteIndicesSkipTheTransparentEntryAndPadRows) {
    struct Case {
        const char* what;
        std::vector<PaletteEntry> palette;
        std::vector<uint8_t> source;
        Size size;
        std::vector<uint8_t> expected;  // eight bytes that start as 0xAA
    };
    const Case cases[] = {
        // Entry 0 is transparent and would be exact for black; entries 1 and 2 tie for grey 0x80.
        {"transparent entry skipped, ties to the lowest, rows padded",
         {entry(0, 0, 0, 0), entry(0x70, 0x80, 0x80), entry(0x90, 0x80, 0x80), entry(10, 10, 10)},
         pixels24({0x000000, 0x808080, 0x808080, 0x808080, 0x000000}),
         {5, 1},
         {3, 1, 1, 1, 3, 0, 0, 0}},
        {"no qualifying entry gives zero",
         {entry(0, 0, 0, 0), entry(255, 255, 255, 0)},
         pixels24({0x123456, 0xFFFFFF, 0x000000}),
         {3, 1},
         {0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"repeats carry across row ends",
         {entry(0, 0, 0), entry(255, 255, 255)},
         pixels24({0xFFFFFF, 0x000000, 0x000000, 0xFEFEFE}),
         {2, 2},
         {1, 0, 0, 0, 0, 1, 0, 0}},
    };
    ASSERT_EQ(OutputBytesForMovie(5, 1, true), 8u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> out(8, 0xAA);
        ConvertImageForMovie(c.source.data(), c.size.cx, c.size.cy, out.data(), c.palette.data(),
                             int(c.palette.size()), true);
        EXPECT_EQ(out, c.expected);
    }
}

class TextBoxIndexed : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }
    static LogFont font(int pixels) {
        LogFont f;
        f.setFace("DejaVu Sans");
        f.height = -pixels;
        return f;
    }
};

// An empty rectangle gives nothing.
TEST_F(TextBoxIndexed, CalloutFillShowsAndOutsideTheOutlineIsTransparent) {
    const Callout none;
    EXPECT_FALSE(RenderTextBoxIndexed(none, Rect{5, 5, 5, 20}, font(12), 0, "a", 0));
    const CalloutLibrary library = defaultCalloutLibrary();
    const Callout* callout = library.FindCallout("Rettangolo");
    ASSERT_NE(callout, nullptr);
    auto picture =
        RenderTextBoxIndexed(*callout, Rect{10, 10, 210, 110}, font(14), kCalloutTextColour, std::nullopt, 3);
    ASSERT_TRUE(picture);
    EXPECT_GT(picture->colourCount, 2);
    EXPECT_LE(picture->colourCount, 256);
    const int stride = IndexedStride(200);
    EXPECT_EQ(picture->pixels[0], 0);  // corner outside the outline
    const PaletteEntry& middle = picture->palette[picture->pixels[size_t(90) * size_t(stride) + 100]];
    EXPECT_EQ(middle, (PaletteEntry{255, 255, 225, 255}));  // the callout's fill
    for (int i = 1; i < picture->colourCount; ++i)
        EXPECT_EQ(picture->palette[size_t(i)].flags, 255);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "render/frame_image_track.h"
#include "render/movie_pixels.h"
#include "render_test_helpers.h"

using namespace quib;
using namespace rendertest;

namespace {

void setPixel(Bitmap24& picture, int x, int y, uint32_t rgbColour) {
    uint8_t* p = picture.pixel(x, y);
    p[0] = blueOf(rgbColour), p[1] = greenOf(rgbColour), p[2] = redOf(rgbColour);
}

RenderPalette fourColours() {
    ProjectSettings settings;
    settings.paletteCount = 4;
    settings.palette[0] = {0, 0, 0, 0};        // A
    settings.palette[1] = {255, 0, 0, 0};      // B
    settings.palette[2] = {0, 0, 255, 0};      // C
    settings.palette[3] = {255, 255, 255, 0};  // D
    return makeRenderPalette(settings);
}

// The colours (red, green, blue, alpha) of the pixels of one row of an 8-bit bitmap.
std::vector<uint32_t> rowColours(const swftest::BitsLossless& bits, int row) {
    std::vector<uint32_t> out;
    const size_t table = size_t(bits.colorTableSize) * 4;
    const size_t stride = (size_t(bits.width) + 3) & ~size_t(3);
    for (int x = 0; x < bits.width; ++x) {
        const uint8_t index = bits.data[table + size_t(row) * stride + size_t(x)];
        const uint8_t* e = bits.data.data() + size_t(index) * 4;
        out.push_back(uint32_t(e[0]) << 24 | uint32_t(e[1]) << 16 | uint32_t(e[2]) << 8 | e[3]);
    }
    return out;
}

// The one bitmap the patch on SWF frame 1 defines.
swftest::BitsLossless patchBitmap(const swftest::Movie& movie) {
    const auto bitmaps = tagsOn(movie, 1, 36);
    EXPECT_EQ(bitmaps.size(), 1u);
    return swftest::parseBitsLossless(*bitmaps.at(0));
}

constexpr uint32_t kA = 0x000000FF, kB = 0xFF0000FF, kC = 0x0000FFFF, kClear = 0;

}  // namespace

TEST(FrameImageTrack, Patch32_UnchangedPixelsAreFullyTransparent) {
    SwfMovie movie;
    FrameImageTrack track(movie, {4, 40}, {10, 20}, nullptr);
    Bitmap24 picture = solidImage({4, 40}, rgb(1, 2, 3));
    convertImageForMovie(picture, track.current(), nullptr);
    track.update(0, 0);
    setPixel(picture, 0, 5, rgb(9, 9, 9));
    setPixel(picture, 2, 5, rgb(8, 8, 8));
    convertImageForMovie(picture, track.current(), nullptr);
    ASSERT_EQ(track.update(1, 1), FrameImageTrack::Change::Patch);
    EXPECT_EQ(track.lastBox(), (Rect{0, 5, 3, 6}));

    const swftest::Movie decoded = swftest::writeAndDecode(movie);
    const auto bits = patchBitmap(decoded);
    EXPECT_EQ(bits.format, 5);
    EXPECT_EQ(bits.data, (std::vector<uint8_t>{255, 9, 9, 9, 0, 0, 0, 0, 255, 8, 8, 8}));
    const auto shape = swftest::parseDefineShape3(*tagsOn(decoded, 1, 32)[0]);
    // twips, to the far edge of the last pixel
    EXPECT_EQ(shape.bounds.edges(), (std::array{10 * 20, 13 * 20, 25 * 20, 26 * 20}));
}

TEST(FrameImageTrack, Patch8_SingleHoleFilledAndUnchangedPixelsTransparent) {
    const RenderPalette palette = fourColours();
    SwfMovie movie;
    FrameImageTrack track(movie, {8, 40}, {0, 0}, &palette);
    Bitmap24 picture = solidImage({8, 40}, rgb(0, 0, 0));
    setPixel(picture, 3, 0, rgb(255, 0, 0));
    convertImageForMovie(picture, track.current(), &palette.table);
    track.update(0, 0);

    // Row 0 becomes C A B B B A A C; only x = 0, 2, 4 and 7 changed.
    setPixel(picture, 0, 0, rgb(0, 0, 255));
    setPixel(picture, 2, 0, rgb(255, 0, 0));
    setPixel(picture, 4, 0, rgb(255, 0, 0));
    setPixel(picture, 7, 0, rgb(0, 0, 255));
    convertImageForMovie(picture, track.current(), &palette.table);
    ASSERT_EQ(track.update(1, 1), FrameImageTrack::Change::Patch);

    const swftest::Movie decoded = swftest::writeAndDecode(movie);
    const auto bits = patchBitmap(decoded);
    EXPECT_EQ(bits.format, 3);
    EXPECT_EQ(bits.width, 8);
    // The patch keeps only the colours it uses (C, B and the transparent entry).
    EXPECT_EQ(bits.colorTableSize, 3);
    EXPECT_EQ(rowColours(bits, 0), (std::vector<uint32_t>{kC, kClear, kB, kB, kB, kClear, kClear, kC}));
}

#include <gtest/gtest.h>

#include <vector>

#include "frame_dump.h"
#include "movie_decoder.h"

using namespace quib::player;

namespace {

// clang-format off
// An 8 x 4 pixel movie laid out byte by byte, in twips: green background and a red 4 x 2 pixel
// rectangle at depth 1.
const std::vector<uint8_t> HandWrittenMovie = {
    'F', 'W', 'S', 4, 62, 0, 0, 0,
    // frame RECT: Nbits 9; 0, 160, 0, 80
    0x48, 0x01, 0x40, 0x00, 0x28, 0x00,
    0x00, 12,  // 12 frames per second
    1, 0,      // one frame
    // SetBackgroundColor (9), 3 bytes: 0, 128, 0
    0x43, 0x02, 0x00, 0x80, 0x00,
    // DefineShape3 (32), 26 bytes
    0x1A, 0x08,
    0x01, 0x00,        // id 1
    0x40, 0x02, 0x80, 0x01, 0x40,  // bounds: Nbits 8; 0, 80, 0, 40
    0x01, 0x00, 0xFF, 0x00, 0x00, 0xFF,  // one solid red fill
    0x00,                                // no line styles
    0x10,                                // 1 fill bit, 0 line bits
    // style change: fill 1, move to (0, 0) in 1-bit fields; edges (80, 0), (0, 40), (-80, 0),
    // (0, -40) in 8, 7, 8 and 7 bits; end
    0x14, 0x27, 0x61, 0x43, 0x55, 0x46, 0xC5, 0x86, 0xAD, 0x80, 0x00,
    // PlaceObject2 (26), 5 bytes: has character, depth 1, character 1
    0x85, 0x06, 0x02, 0x01, 0x00, 0x01, 0x00,
    0x40, 0x00,  // ShowFrame
    0x00, 0x00,  // End
};
// clang-format on

}  // namespace

TEST(HandWrittenMovie, HeaderTagsAndPixels) {
    ASSERT_EQ(HandWrittenMovie.size(), 62u);
    auto movie = std::make_shared<const MovieData>(decodeMovie(HandWrittenMovie));
    EXPECT_EQ(movie->frameRect, (RectF{0, 0, 160, 80}));
    EXPECT_DOUBLE_EQ(movie->frameRate, 12.0);
    ASSERT_EQ(movie->frames.size(), 1u);
    EXPECT_EQ(movie->frames[0].commands.size(), 2u);

    std::string error;
    Picture img = renderFrameImage(movie, 0, error);
    ASSERT_EQ(img.width, 8);
    ASSERT_EQ(img.height, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(img.pixel(x, y), x < 4 && y < 2 ? packPixel(255, 0, 0) : packPixel(0, 128, 0))
                << x << "," << y;
}

#include <gtest/gtest.h>

#include <vector>

#include "frame_dump.h"
#include "movie_decoder.h"

using namespace quib::player;

namespace {

// clang-format off
// An 8 x 4 movie laid out byte by byte: green background and a red 4 x 2 rectangle at depth 1.
const std::vector<uint8_t> HandWrittenMovie = {
    'F', 'W', 'S', 4, 61, 0, 0, 0,
    // frame RECT: Nbits 15; 0, 8, 0, 4
    0x78, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
    0x00, 12,  // 12 frames per second
    1, 0,      // one frame
    // SetBackgroundColor (9), 3 bytes: 0, 128, 0
    0x43, 0x02, 0x00, 0x80, 0x00,
    // DefineShape3 (32), 22 bytes
    0x16, 0x08,
    0x01, 0x00,        // id 1
    0x18, 0x60, 0x80,  // bounds: Nbits 3; 0, 3, 0, 1
    0x01, 0x00, 0xFF, 0x00, 0x00, 0xFF,  // one solid red fill
    0x00,                                // no line styles
    0x10,                                // 1 fill bit, 0 line bits
    // style change: fill 1, move to (0, 0) in 1-bit fields; edges (4, 0), (0, 2), (-4, 0), (0, -2); end
    0x14, 0x27, 0x21, 0x31, 0x56, 0x46, 0x62, 0xE0, 0x00,
    // PlaceObject2 (26), 5 bytes: has character, depth 1, character 1
    0x85, 0x06, 0x02, 0x01, 0x00, 0x01, 0x00,
    0x40, 0x00,  // ShowFrame
    0x00, 0x00,  // End
};
// clang-format on

}  // namespace

TEST(HandWrittenMovie, HeaderTagsAndPixels) {
    ASSERT_EQ(HandWrittenMovie.size(), 61u);
    auto movie = std::make_shared<const MovieData>(decodeMovie(HandWrittenMovie));
    EXPECT_EQ(movie->frameRect, QRectF(0, 0, 8, 4));
    EXPECT_DOUBLE_EQ(movie->frameRate, 12.0);
    ASSERT_EQ(movie->frames.size(), 1u);
    EXPECT_EQ(movie->frames[0].commands.size(), 2u);

    QString error;
    QImage img = renderFrameImage(movie, 0, error);
    ASSERT_EQ(img.size(), QSize(8, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(img.pixel(x, y), x < 4 && y < 2 ? qRgb(255, 0, 0) : qRgb(0, 128, 0)) << x << "," << y;
}

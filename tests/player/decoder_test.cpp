#include <gtest/gtest.h>

#include "movie_decoder.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;

namespace {

const ShapeCharacter& shapeOf(const MovieData& m, uint16_t id) {
    return std::get<ShapeCharacter>(*m.character(id));
}
const Picture& bitmapOf(const MovieData& m, uint16_t id) {
    return std::get<BitmapCharacter>(*m.character(id)).image;
}

}  // namespace

// A compressed movie whose background comes in a long header, between tags the player skips; then
// place, move, replace, actions and remove in order.
TEST(MovieHeader, CompressedMovieIsInflatedAndTagsAreSkippedByLength) {
    MovieBuilder b(20, 30, 5);
    b.tag(9, {1, 2, 3}, true);   // short body in the long form
    b.tag(43, Bytes(70, 0xAB));  // frame label with a long body: skipped
    b.tag(777 % 1024, Bytes(5, 0x00));
    b.place(3, 7, 5, -6);
    b.move(3, 1, 2);
    b.replace(3, 8);
    b.doAction({{SwfAction::Stop}});
    b.remove(8, 3);
    b.showFrame();
    Bytes plain = b.finish();
    Bytes cws = compressed(Bytes(plain.begin() + 8, plain.end()));
    cws.insert(cws.begin(), plain.begin(), plain.begin() + 8);
    cws[0] = 'C';
    MovieData m = decodeMovie(cws);
    EXPECT_EQ(m.frameRect, (RectF{0, 0, 20 * Twips, 30 * Twips}));
    ASSERT_EQ(m.frames.size(), 1u);
    const auto& c = m.frames[0].commands;
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(std::get<BackgroundCommand>(c[0]).color, (quib::player::Rgba{1, 2, 3, 255}));
    const auto& place = std::get<PlaceCommand>(c[1]);
    EXPECT_FALSE(place.move);
    EXPECT_EQ(place.depth, 3);
    EXPECT_EQ(place.characterId, 7);
    EXPECT_EQ(place.matrix, Transform::translation(5 * Twips, -6 * Twips));
    EXPECT_TRUE(std::get<PlaceCommand>(c[2]).move);
    EXPECT_FALSE(std::get<PlaceCommand>(c[2]).characterId);
    EXPECT_EQ(std::get<PlaceCommand>(c[3]).characterId, 8);
    EXPECT_FALSE(std::get<PlaceCommand>(c[3]).matrix);
    EXPECT_EQ(std::get<ActionCommand>(c[4]).actions[0].kind, Action::Kind::Stop);
    EXPECT_EQ(std::get<RemoveCommand>(c[5]).depth, 3);
}

TEST(Characters, LosslessBitmapsWithAndWithoutAlphaAndASolidFillRectangle) {
    MovieBuilder b(10, 10);
    b.bitmap32(1, 2, 2, {{255, 0, 0, 255}, {0, 128, 0, 128}, {0, 0, 0, 0}, {10, 20, 30, 255}});
    b.bitmap32(4, 1, 1, {{7, 8, 9, 0}}, false);
    // 3 pixels wide: each row carries one padding byte that must not shift the next row.
    b.bitmap8(2, 3, 2, {{0, 0, 0, 0}, {255, 0, 0, 255}, {0, 0, 255, 255}}, {1, 2, 1, 2, 0, 2});
    b.bitmap8(3, 1, 1, {{1, 2, 3, 0}, {40, 50, 60, 0}}, {1}, false);
    b.solidRect(6, 0, 0, 4, 2, {9, 8, 7, 255});
    b.showFrame();
    const MovieData m = decodeMovie(b.finish());
    const uint32_t red = packPixel(255, 0, 0), blue = packPixel(0, 0, 255), clear = packPixel(0, 0, 0, 0);
    const struct {
        uint16_t id;
        int width, height;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {1, 2, 2, {packPixel(255, 0, 0, 255), packPixel(0, 128, 0, 128), clear, packPixel(10, 20, 30, 255)}},
        {4, 1, 1, {packPixel(7, 8, 9, 255)}},
        {2, 3, 2, {red, blue, red, blue, clear, blue}},
        {3, 1, 1, {packPixel(40, 50, 60)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const Picture& img = bitmapOf(m, c.id);
        ASSERT_EQ(img.width, c.width);
        ASSERT_EQ(img.height, c.height);
        for (int i = 0; i < c.width * c.height; ++i) {
            const uint32_t got = img.pixel(i % c.width, i / c.width);
            if (c.pixels[size_t(i)] == clear)
                EXPECT_EQ(pixelAlpha(got), 0) << i;
            else
                EXPECT_EQ(got, c.pixels[size_t(i)]) << i;
        }
    }
    const ShapeCharacter& s = shapeOf(m, 6);
    ASSERT_EQ(s.fills.size(), 1u);
    EXPECT_EQ(s.fills[0].style.kind, FillKind::Solid);
    EXPECT_EQ(s.fills[0].style.color, (quib::player::Rgba{9, 8, 7, 255}));
    EXPECT_EQ(s.fills[0].path.boundingRect(), (RectF{0, 0, 5 * Twips, 3 * Twips}));
}

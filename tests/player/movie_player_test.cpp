#include <gtest/gtest.h>

#include <vector>

#include "frame_dump.h"
#include "movie_decoder.h"
#include "movie_player.h"
#include "projector_view.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;

namespace {

std::shared_ptr<const MovieData> movieOf(MovieBuilder& b) {
    return std::make_shared<const MovieData>(decodeMovie(b.finish()));
}

// depth -> character id of everything on the stage
std::map<uint16_t, uint16_t> shown(const MoviePlayer& p) {
    std::map<uint16_t, uint16_t> out;
    for (const auto& [depth, object] : p.stage().objects())
        out[depth] = object.characterId;
    return out;
}

// Frame 0 places A at depth 1, frame 1 adds B at depth 2, frame 2 removes A, frame 3 replaces B by A.
std::shared_ptr<const MovieData> fourFrameMovie() {
    MovieBuilder b(50, 50);
    b.solidRect(1, 0, 0, 9, 9, {255, 0, 0, 255});
    b.solidRect(2, 0, 0, 9, 9, {0, 255, 0, 255});
    b.place(1, 1);
    b.showFrame();
    b.place(2, 2, 10, 0);
    b.showFrame();
    b.remove(1, 1);
    b.showFrame();
    b.replace(2, 1);
    b.showFrame();
    return movieOf(b);
}

}  // namespace

TEST(GotoFrame, BackwardsRebuildsFromTheFirstFrameAndAFrameJumpingToItselfDoesNotHang) {
    MoviePlayer p(fourFrameMovie());
    p.gotoFrame(3);
    EXPECT_EQ(shown(p), (std::map<uint16_t, uint16_t>{{2, 1}}));
    p.gotoFrame(1);
    EXPECT_EQ(p.currentFrame(), 1);
    EXPECT_EQ(shown(p), (std::map<uint16_t, uint16_t>{{1, 1}, {2, 2}}));
    EXPECT_FALSE(p.isPlaying());
    p.gotoFrame(99);
    EXPECT_EQ(p.currentFrame(), 3);

    MovieBuilder b(10, 10);
    b.showFrame();
    b.doAction({{SwfAction::GotoFrame, 0}, {SwfAction::Play}});
    b.showFrame();
    MoviePlayer looping(movieOf(b));
    for (int i = 0; i < 10; ++i)
        looping.advance();
    EXPECT_LE(looping.currentFrame(), 1);
}

TEST(Render, BitmapFillsRespectAlphaAndSolidFillsAndBackground) {
    MovieBuilder b(40, 30);
    b.background(0, 0, 255);
    // 2 x 2 picture stretched over 4 x 4: opaque red, half green, transparent, opaque white.
    b.bitmap32(1, 2, 2, {{255, 0, 0, 255}, {0, 128, 0, 128}, {0, 0, 0, 0}, {255, 255, 255, 255}});
    b.bitmapRect(2, 10, 10, 13, 13, 1, 2, 2);
    b.solidRect(3, 0, 0, 4, 2, {0, 0, 0, 255});
    b.place(2, 2);
    b.place(1, 3, 30, 20);
    b.showFrame();
    std::string error;
    Picture img = renderFrameImage(movieOf(b), 0, error);
    ASSERT_FALSE(img.isNull()) << error;
    ASSERT_EQ(img.width, 40);
    ASSERT_EQ(img.height, 30);
    const Pixel blue = packPixel(0, 0, 255), red = packPixel(255, 0, 0), black = packPixel(0, 0, 0);
    // The picture covers 10..13 both ways, with a transparent pixel at (10, 12); the solid rectangle
    // 0..4 x 0..2 moved by (30, 20) is one unit wider than x2 - x1.
    const struct {
        int x, y;
        Pixel pixel;
    } expected[] = {{0, 0, blue},    {9, 10, blue},  {10, 10, red},
                    {11, 11, red},   {10, 12, blue}, {13, 13, packPixel(255, 255, 255)},
                    {14, 13, blue},  {13, 14, blue}, {30, 20, black},
                    {34, 22, black}, {35, 22, blue}, {34, 23, blue},
                    {29, 20, blue}};
    for (const auto& e : expected)
        EXPECT_EQ(img.pixel(e.x, e.y), e.pixel) << e.x << "," << e.y;
    Pixel half = img.pixel(12, 10);
    EXPECT_EQ(pixelRed(half), 0);
    EXPECT_NEAR(pixelGreen(half), 128, 1);
    EXPECT_NEAR(pixelBlue(half), 127, 1);
}

// Keys jump from stop to stop: frames 1 and 3 stop, frame 4 is the last.
TEST(ProjectorView, KeysMoveBetweenStops) {
    MovieBuilder b(20, 10);
    for (int f = 0; f < 5; ++f) {
        if (f == 1 || f == 3)
            b.doAction({{SwfAction::Stop}});
        b.showFrame();
    }
    ProjectorView view(movieOf(b));
    const struct {
        ProjectorKey key;
        int frame;
        bool playing;
    } steps[] = {{ProjectorKey::Next, 1, false},     {ProjectorKey::Next, 3, false},
                 {ProjectorKey::Previous, 1, false}, {ProjectorKey::Previous, 0, false},
                 {ProjectorKey::Last, 4, false},     {ProjectorKey::First, 0, true}};
    for (const auto& step : steps) {
        view.press(step.key);
        EXPECT_EQ(view.player().currentFrame(), step.frame) << int(step.key);
        EXPECT_EQ(view.player().isPlaying(), step.playing) << int(step.key);
    }
}

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "frame_dump.h"
#include "model/frame_composition.h"
#include "movie_decoder.h"
#include "render_test_helpers.h"
#include "shapes/default_callouts.h"

using namespace quib;
using namespace rendertest;

namespace {

constexpr int kWidth = 160, kHeight = 120;
const Rect kTextRect{10, 10, 110, 50};
const Rect kTitleRect{10, 60, 150, 84};

// A screen-like picture: a light desktop with a darker window that moves with n.
Bitmap24 screenPicture(int n) {
    Bitmap24 picture = solidImage({kWidth, kHeight}, rgb(220, 224, 230));
    for (int y = 20 + n * 3; y < 70 + n * 3; ++y) {
        for (int x = 30 + n * 7; x < 120 + n * 7 && x < kWidth; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = uint8_t(90 + x % 40), p[1] = uint8_t(60 + n * 20), p[2] = uint8_t(40 + y % 30);
        }
    }
    return picture;
}

// A project of four frames with every element: picture, cursor, text box, title and buttons.
void buildTutorial(TestProject& project) {
    project.callouts = defaultCalloutLibrary();
    project.doc.titles.enabled = 1;
    project.doc.titles.rect = kTitleRect;
    project.doc.titles.font.color = rgb(0, 0, 128);
    project.doc.titles.font.logFont.height = -14;
    const int count = 4;
    for (int n = 0; n < count; ++n) {
        FrameElements e;
        e.cursorVisible = 1;
        e.cursorPos = {20 + n * 30, 80 - n * 10};
        e.textBox.visible = 1;
        e.textBox.rect = kTextRect;
        e.textBox.calloutName = "Rettangolo";
        e.textBox.text = "Passo " + std::to_string(n + 1);
        e.textBox.font.logFont.height = -12;
        e.title = "Titolo " + std::to_string(n + 1);
        e.nextButton.visible = n < count - 1;
        e.nextButton.pos = {96, 92};
        e.prevButton.visible = n > 0;
        e.prevButton.pos = {30, 92};
        project.addFrame(screenPicture(n), e, cursorPicture(10, 14, rgb(0, 0, 0)));
    }
}

double distance(player::Pixel a, const uint8_t* bgr) {
    return std::hypot(player::pixelRed(a) - bgr[2], player::pixelGreen(a) - bgr[1],
                      player::pixelBlue(a) - bgr[0]);
}

// Distance from a colour to the nearest project palette entry.
double paletteError(const ProjectSettings& settings, const uint8_t* bgr) {
    double best = 1e9;
    for (int i = 0; i < settings.paletteCount; ++i) {
        const PaletteEntry& e = settings.palette[i];
        best = std::min(best, std::hypot(e.red - bgr[2], e.green - bgr[1], e.blue - bgr[0]));
    }
    return best;
}

// Each project frame at its stop in the movie against the composed frame. Text in the movie has hard
// edges where the composition blends: inside text and title only edge pixels may differ.
void expectStopsShowTheComposition(TestProject& project) {
    RenderStats stats;
    const std::vector<uint8_t> bytes = project.renderBytes(&stats);
    auto movie = std::make_shared<player::MovieData>();
    std::string error;
    EXPECT_TRUE(player::loadMovieBytes(bytes, *movie, error)) << error;
    ASSERT_EQ(project.doc.frameCount(), 4);
    for (int i = 0; i < project.doc.frameCount(); ++i) {
        SCOPED_TRACE(i);
        const player::Picture shown = player::renderFrameImage(movie, stats.stopFrame[size_t(i)], error);
        ASSERT_FALSE(shown.isNull()) << error;
        EXPECT_TRUE(project.doc.SelectFrame(i));
        const Bitmap24 composed = ComposeFramePicture(project.doc, project.callouts);
        int outsideText = 0, insideText = 0, textPixels = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* want = composed.pixel(x, y);
                const bool text = kTextRect.contains({x, y}) || kTitleRect.contains({x, y});
                const double allowed = paletteError(project.doc.settings, want) + 0.001;
                const bool differs = distance(shown.pixel(x, y), want) > allowed;
                textPixels += text;
                (text ? insideText : outsideText) += differs;
            }
        }
        EXPECT_EQ(outsideText, 0);
        EXPECT_LT(insideText, textPixels / 20);
    }
    // Text box and title are 8-bit pictures with their own colours, and the last frame keeps them.
    const swftest::Movie decoded = swftest::decodeMovie(bytes);
    const auto pictures = tagsOn(decoded, stats.stopFrame.back(), 36);
    ASSERT_EQ(pictures.size(), 2u);
    for (const swftest::Tag* tag : pictures)
        EXPECT_EQ(swftest::parseBitsLossless(*tag).format, 3);
    EXPECT_LE(framesWith(decoded, 5).back(), stats.stopFrame.back());
}

}  // namespace

// Every pixel within the palette error of the composed one. Without a palette, every output of the
// same kind of project is compared with its composed frames where the outputs are tested.
TEST(RenderEndToEnd, EveryStopShowsTheComposedFrameWithAPalette) {
    TestProject project(kWidth, kHeight);
    buildTutorial(project);
    ProjectSettings& s = project.doc.settings;
    s.usePalette = 1;
    s.paletteCount = 0;
    // A coarse palette of 4 x 4 x 4 levels.
    for (int i = 0; i < 64; ++i)
        s.palette[s.paletteCount++] = {uint8_t(i / 16 * 85), uint8_t(i / 4 % 4 * 85), uint8_t(i % 4 * 85), 0};
    expectStopsShowTheComposition(project);
}

TEST(RenderEndToEnd, BackgroundWithPalette_KeepsOnlyItsColours) {
    TestProject project(8, 8);
    project.doc.backgroundSize = {12, 10};
    project.doc.backgroundImage = solidImage({12, 10}, rgb(250, 0, 0));
    project.doc.settings.usePalette = 1;
    project.doc.settings.paletteCount = 3;
    project.doc.settings.palette[0] = {0, 0, 0, 0};
    project.doc.settings.palette[1] = {255, 0, 0, 0};
    project.doc.settings.palette[2] = {0, 255, 0, 0};
    project.addFrame(rgb(0, 250, 0));
    const swftest::Movie movie = project.render();
    const auto bitmaps = tagsOn(movie, 0, 36);
    ASSERT_EQ(bitmaps.size(), 2u);  // background, then the frame
    const auto background = swftest::parseBitsLossless(*bitmaps[0]);
    EXPECT_EQ(background.format, 3);
    EXPECT_EQ(background.width, 12);
    ASSERT_EQ(background.colorTableSize, 1);
    EXPECT_EQ(swftest::bytesAt(background.data, 0, 4), (std::vector<uint8_t>{255, 0, 0, 255}));
    const auto frame = swftest::parseBitsLossless(*bitmaps[1]);
    ASSERT_EQ(frame.colorTableSize, 1);
    EXPECT_EQ(swftest::bytesAt(frame.data, 0, 4), (std::vector<uint8_t>{0, 255, 0, 255}));
}

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "render/color_table.h"
#include "render/render_project.h"
#include "render_test_helpers.h"
#include "support/files_and_commands.h"
#include "swf/swf_movie.h"

using namespace quib;
using namespace rendertest;

namespace {

constexpr int kRemove = 5, kBackground = 9, kDoAction = 12, kLossless = 20, kPlace = 26, kButton = 34,
              kLossless2 = 36;

FrameElements withTime(uint32_t ms) {
    FrameElements e;
    e.displayTime = ms;
    return e;
}

FrameElements withCursor(Point position) {
    FrameElements e;
    e.cursorVisible = 1;
    e.cursorPos = position;
    return e;
}

std::vector<swftest::PlaceObject2> placements(const swftest::Movie& movie, int n) {
    std::vector<swftest::PlaceObject2> out;
    for (const swftest::Tag* tag : tagsOn(movie, n, kPlace))
        out.push_back(swftest::parsePlaceObject2(*tag));
    return out;
}

// Whether frame n places a character at (x, y) twips, and the given character when one is named.
bool placedAt(const swftest::Movie& movie, int n, int32_t x, int32_t y, std::optional<uint16_t> id = {}) {
    return std::ranges::any_of(placements(movie, n), [&](const swftest::PlaceObject2& p) {
        return p.matrix && p.matrix->translateX == x && p.matrix->translateY == y &&
               (!id || p.characterId == id);
    });
}

// Goto actions of every button defined on frame n.
std::vector<int> buttonGotoTargets(const swftest::Movie& movie, int n) {
    std::vector<int> out;
    for (const swftest::Tag* tag : tagsOn(movie, n, kButton)) {
        for (const auto& condition : swftest::parseDefineButton2(*tag).conditions) {
            for (const auto& action : condition.actions) {
                if (action.code == 0x81)
                    out.push_back(action.frame);
            }
        }
    }
    return out;
}

}  // namespace

// Its next and previous buttons are not shown: the frame is both the last and the first.
TEST(RenderPass, OneFrameProject_FullFrameOnFrameZeroOverTheEditorsWhite) {
    TestProject project;
    FrameElements e;
    e.prevButton.visible = e.nextButton.visible = 1;
    project.addFrame(rgb(10, 20, 30), e);
    RenderStats stats;
    const swftest::Movie movie = project.render(&stats);

    EXPECT_EQ(movie.header.xMax, 32 * 20);  // twips
    EXPECT_EQ(movie.header.yMax, 24 * 20);
    EXPECT_EQ(movie.header.rate, 8);
    ASSERT_EQ(stats.frameStart, std::vector<int>{1});
    ASSERT_EQ(stats.stopFrame, std::vector<int>{2});
    EXPECT_EQ(stats.fullFrames, 1);

    EXPECT_EQ(tagsOn(movie, 0, kBackground).at(0)->body, (std::vector<uint8_t>{255, 255, 255}));

    // A whole frame is a 32-bit picture without alpha, every pixel 255, red, green, blue.
    const auto bitmaps = tagsOn(movie, 0, kLossless);
    ASSERT_EQ(bitmaps.size(), 1u);
    const swftest::BitsLossless bits = swftest::parseBitsLossless(*bitmaps[0]);
    EXPECT_EQ(bits.format, 5);
    EXPECT_EQ(bits.width, 32);
    EXPECT_EQ(bits.height, 24);
    EXPECT_EQ(swftest::bytesAt(bits.data, 0, 4), (std::vector<uint8_t>{255, 10, 20, 30}));
    EXPECT_EQ(tagsOn(movie, 0, kPlace).size(), 1u);
    EXPECT_TRUE(framesWith(movie, kButton).empty());
    // Only the stop that ends the movie.
    EXPECT_EQ(framesWith(movie, kDoAction), std::vector<int>{movie.showFrameCount() - 1});
}

// The frames are identical: only the first adds a picture.
TEST(RenderPass, HoldTime_RoundsDisplayTimeAtFrameRate_IdenticalFramesAddNoImageObject) {
    TestProject project;
    project.addFrame(rgb(1, 2, 3), withTime(0));
    project.addFrame(rgb(1, 2, 3), withTime(1000));
    project.addFrame(rgb(1, 2, 3), withTime(62));  // 62 ms at 8 fps: (496 + 500) / 1000 + 1 = 1
    project.addFrame(rgb(1, 2, 3));
    RenderStats stats;
    const swftest::Movie movie = project.render(&stats);
    EXPECT_EQ(framesWith(movie, kLossless).size() + framesWith(movie, kLossless2).size(), 1u);
    EXPECT_TRUE(tagsOn(movie, stats.frameStart[1] - 1, kPlace).empty());
    // The next project frame starts one SWF frame after the hold.
    EXPECT_EQ(stats.frameStart[1] - 1 - stats.stopFrame[0], 1);
    EXPECT_EQ(stats.frameStart[2] - 1 - stats.stopFrame[1], 9);
    EXPECT_EQ(stats.frameStart[3] - 1 - stats.stopFrame[2], 1);
}

TEST(RenderPass, ButtonFrame_StopsAndHoldsOneFrame_PreviousGoesToTheLastStop) {
    TestProject project;
    FrameElements first = withTime(5000), third;
    first.nextButton = {1, {3, 4}};
    third.prevButton.visible = 1;
    project.addFrame(rgb(1, 2, 3), first);
    project.addFrame(rgb(1, 2, 3), withTime(3000));
    project.addFrame(rgb(1, 2, 3), third);
    RenderStats stats;
    const swftest::Movie movie = project.render(&stats);
    const int stop = stats.stopFrame[0];
    EXPECT_EQ(stats.frameStart[1], stop + 2);

    EXPECT_EQ(frameActions(movie, stop), std::vector<int>{0x07});

    const auto buttons = tagsOn(movie, stop, kButton);
    ASSERT_EQ(buttons.size(), 1u);
    const swftest::DefineButton2 button = swftest::parseDefineButton2(*buttons[0]);
    ASSERT_EQ(button.conditions.size(), 1u);
    EXPECT_EQ(button.conditions[0].conditionBytes[0], 0x08);
    ASSERT_EQ(button.conditions[0].actions.size(), 1u);
    EXPECT_EQ(button.conditions[0].actions[0].code, 0x06);
    // Placed at the button position and removed on the next frame.
    EXPECT_TRUE(placedAt(movie, stop, 3 * 20, 4 * 20, button.characterId));
    const auto removes = tagsOn(movie, stop + 1, kRemove);
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(swftest::parseRemoveObject(*removes[0]).characterId, button.characterId);
    EXPECT_EQ(buttonGotoTargets(movie, stats.stopFrame[2]), std::vector<int>{stop});
}

// A changed picture takes one step less and appears on the last; a hidden cursor is removed without
// gliding.
TEST(RenderPass, CursorGlide_StepsFromDistanceAndSmoothness) {
    TestProject project(200, 50);
    const Bitmap32 cursor = cursorPicture(4, 4, rgb(0, 0, 0)),
                   white = cursorPicture(4, 4, rgb(255, 255, 255));
    project.addFrame(rgb(9, 9, 9), withCursor({0, 0}), cursor);
    project.addFrame(rgb(9, 9, 9), withCursor({100, 0}), cursor);  // 100 px at 25: 4 steps
    project.addFrame(rgb(9, 9, 9), withCursor({100, 0}), cursor);  // no move: still 1 step
    project.addFrame(rgb(9, 9, 9), withCursor({110, 0}), cursor);  // under 25 px: 1 step
    project.addFrame(rgb(9, 9, 9), withCursor({10, 0}), white);    // 100 px, changed picture: 3 steps
    project.addFrame(rgb(9, 9, 9), {}, white);                     // hidden: no step
    RenderStats stats;
    const swftest::Movie movie = project.render(&stats);
    const auto end = [&stats](int n) { return stats.stopFrame[size_t(n)] + 1; };
    for (const auto& [n, steps] : {std::pair{1, 4}, {2, 1}, {3, 1}, {4, 3}, {5, 0}})
        EXPECT_EQ(stats.frameStart[size_t(n)] - 1 - end(n - 1), steps) << n;
    EXPECT_EQ(stats.cursorPictures, 2u);

    // Each step removes the cursor and places it again one quarter further.
    for (int s = 1; s <= 4; ++s) {
        ASSERT_EQ(placements(movie, end(0) + s).size(), 1u) << s;
        EXPECT_TRUE(placedAt(movie, end(0) + s, 25 * s * 20, 0)) << s;
        EXPECT_EQ(tagsOn(movie, end(0) + s, kRemove).size(), 1u);
    }
    // On the last step the old cursor goes and the new picture is defined and placed at the end.
    const int last = end(3) + 3;
    EXPECT_EQ(tagsOn(movie, last, kRemove).size(), 2u);
    EXPECT_TRUE(placedAt(movie, last, 10 * 20, 0));
    EXPECT_EQ(tagsOn(movie, last, kLossless2).size(), 1u);
    EXPECT_EQ(tagsOn(movie, end(4), kRemove).size(), 1u);
    EXPECT_TRUE(tagsOn(movie, end(4), kPlace).empty());
}

// Faint pixels count as not covered and become transparent; the rest is shown solid.
TEST(RenderPass, CursorPicture_IsEightBitWithTransparentEntryZero) {
    TestProject project;
    Bitmap32 picture = cursorPicture(3, 2, rgb(40, 50, 60));
    picture.pixel(1, 0)[3] = 100;
    picture.pixel(2, 0)[3] = 200;
    project.addFrame(rgb(9, 9, 9), withCursor({2, 3}), picture);
    const swftest::Movie movie = project.render();
    const auto bitmaps = tagsOn(movie, 0, kLossless2);
    ASSERT_EQ(bitmaps.size(), 1u);
    const auto bits = swftest::parseBitsLossless(*bitmaps[0]);
    EXPECT_EQ(bits.format, 3);
    // Entry 0 is the transparent one; the octree gives the picture's colours after it.
    ASSERT_GE(bits.colorTableSize, 2);
    EXPECT_EQ(swftest::bytesAt(bits.data, 0, 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    int colour = -1;
    for (int i = 1; i < bits.colorTableSize; ++i) {
        const uint8_t* e = bits.data.data() + i * 4;
        if (e[0] == 40 && e[1] == 50 && e[2] == 60 && e[3] == 255)
            colour = i;
    }
    ASSERT_GT(colour, 0);
    // Rows of 4 bytes: transparent first column, then the colour, then padding.
    const size_t table = size_t(bits.colorTableSize) * 4;
    const uint8_t c = uint8_t(colour);
    EXPECT_EQ(swftest::bytesAt(bits.data, table, bits.data.size() - table),
              (std::vector<uint8_t>{0, 0, c, 0, 0, c, c, 0}));
}

// A link forward is resolved when its target is rendered; one below the first frame goes to frame 0;
// one past the last frame is never placed but its frame still stops.
TEST(RenderPass, GotoButtons_GoToTheirTargetClampedBelowAndDroppedPastTheEnd) {
    TestProject project;
    FrameElements first, second = withTime(2000), third;
    first.gotoButtons[1] = {1, {7, 8}, 2};
    second.gotoButtons[0] = {1, {}, 5};
    third.gotoButtons[0] = {1, {}, -7};
    for (const FrameElements& e : {first, second, third})
        project.addFrame(rgb(1, 1, 1), e);
    RenderStats stats;
    const swftest::Movie movie = project.render(&stats);
    EXPECT_EQ(buttonGotoTargets(movie, stats.stopFrame[0]), std::vector<int>{stats.frameStart[2]});
    EXPECT_EQ(frameActions(movie, stats.frameStart[2]), std::vector<int>{0x06});
    // The frame with the link stops even before its button is known.
    EXPECT_EQ(stats.frameStart[1], stats.stopFrame[0] + 2);
    EXPECT_EQ(buttonGotoTargets(movie, stats.stopFrame[2]), std::vector<int>{stats.frameStart[0]});
    EXPECT_EQ(frameActions(movie, stats.frameStart[0]), std::vector<int>{0x06});
    EXPECT_EQ(framesWith(movie, kButton).size(), 2u);
    for (int n : {1, 2})
        EXPECT_EQ(frameActions(movie, stats.stopFrame[size_t(n)]), std::vector<int>{0x07}) << n;
}

TEST(RenderPass, Cancel_KeepsTheFramesDoneSoFarAndTheSelectedFrame) {
    TestProject project;
    for (int i = 0; i < 5; ++i)
        project.addFrame(rgb(uint8_t(i * 40), 0, 0));
    ASSERT_TRUE(project.doc.SelectFrame(1));
    test::RecordingProgress progress(1);
    SwfMovie movie;
    const RenderStats stats = BuildProjectMovie(project.doc, project.callouts, progress, movie);
    EXPECT_TRUE(stats.cancelled);
    EXPECT_EQ(stats.projectFrames, 2);
    EXPECT_EQ(progress.range, std::make_pair(0, 4));
    EXPECT_GT(swftest::writeAndDecode(movie).showFrameCount(), 0);
    EXPECT_EQ(project.doc.currentFrameIndex, 1);
    EXPECT_EQ(project.doc.currentImage.pixel(0, 0)[2], 40);
}

TEST(RenderPass, BackgroundPicture_OnLayerBelowFramesAndCountedInProgress) {
    TestProject project(16, 8);
    project.doc.backgroundSize = {24, 12};
    project.doc.backgroundImage = solidImage({24, 12}, rgb(0, 0, 255));
    project.doc.frameOrigin = {4, 2};
    project.addFrame(rgb(0, 255, 0));
    test::RecordingProgress progress;
    SwfMovie swf;
    BuildProjectMovie(project.doc, project.callouts, progress, swf);
    EXPECT_EQ(progress.range, std::make_pair(0, 1));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 1}));
    const swftest::Movie movie = swftest::writeAndDecode(swf);
    const auto places = placements(movie, 0);
    ASSERT_EQ(places.size(), 2u);
    // Background first at depth 0, the frame picture over it at its origin.
    EXPECT_EQ(places[0].depth, 0);
    EXPECT_EQ(places[1].depth, 1);
    const auto shapes = tagsOn(movie, 0, 32);
    ASSERT_EQ(shapes.size(), 2u);
    const auto frameShape = swftest::parseDefineShape3(*shapes[1]);
    EXPECT_EQ(frameShape.bounds.edges(), (std::array{4 * 20, 20 * 20, 2 * 20, 10 * 20}));
}

TEST(RenderChecks, RefusesWhatCannotBeRenderedAndLeavesAnExistingOutputWhole) {
    TestProject project;
    project.addFrame(rgb(1, 1, 1));
    quib::test::writeFile(project.doc.settings.outputFileName, "old movie");
    EXPECT_TRUE(CheckRenderable(project.doc).ok());
    EXPECT_EQ(quib::test::readFile(project.doc.settings.outputFileName), "old movie");

    project.doc.settings.outputFileName.clear();
    EXPECT_EQ(CheckRenderable(project.doc).blocker, RenderBlocker::NoOutputName);

    project.doc.settings.outputFileName = project.dir.path("missing/folder/movie.swf");
    RenderCheck check = CheckRenderable(project.doc);
    EXPECT_EQ(check.blocker, RenderBlocker::CannotCreateFile);
    EXPECT_EQ(check.status.message(), "Impossibile creare il file");

    project.doc.settings.outputFileName = project.dir.dir();  // a folder
    EXPECT_EQ(CheckRenderable(project.doc).blocker, RenderBlocker::CannotCreateFile);

    project.doc.settings.outputFileName = project.dir.path("movie.swf");
    project.doc.settings.usePalette = 1;
    check = CheckRenderable(project.doc);
    EXPECT_EQ(check.blocker, RenderBlocker::NoPalette);
    EXPECT_EQ(check.status.message(), kNoPaletteMessage);
    // The web page draws frames as they are composed: it needs no palette.
    project.doc.settings.outputType = OutputType::Html5;
    EXPECT_TRUE(CheckRenderable(project.doc).ok());
    project.doc.settings.outputType = OutputType::Movie;

    project.doc.settings.paletteCount = 16;
    EXPECT_TRUE(CheckRenderable(project.doc).ok());
    project.doc.settings.frameRate = 0;
    EXPECT_EQ(CheckRenderable(project.doc).blocker, RenderBlocker::MovieLimits);
}

TEST(RenderPalette, TransparentEntryFollowsTheLastOrReplacesTheFirstOfTheClosestPair) {
    ProjectSettings settings;
    settings.paletteCount = 256;
    for (int i = 0; i < 256; ++i)
        settings.palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 0xFF), 0};
    // Entries 40 and 200 become nearly the same colour; every other pair is further apart.
    settings.palette[200] = {41, 215, 24, 0};
    settings.palette[40] = {40, 215, 24, 0};
    const RenderPalette full = makeRenderPalette(settings);
    EXPECT_EQ(full.transparent, 40);
    EXPECT_EQ(full.table.count, 256);
    EXPECT_EQ(full.table.entry(40)[3], 0);
    EXPECT_EQ(full.table.entry(200)[0], 41);
}

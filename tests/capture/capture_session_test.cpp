#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "base/progress.h"
#include "capture/capture_session.h"
#include "fake_grabber.h"
#include "model/project_file.h"
#include "model/quib_doc.h"
#include "support/temp_dir.h"

using namespace quib;

namespace {

const Rect kRegion{10, 10, 110, 90};

// A project ready for captures of kRegion from the fake screen.
struct CaptureSessionTest : ::testing::Test {
    CaptureSessionTest() {
        prepareCaptureProject(doc, kRegion);
        // 2 x 2 with its hot spot at (1, 1): one transparent pixel, and at (1, 1) an opaque one of
        // the colour that pictures from files treat as their key colour.
        ScreenCursor& cursor = grabber.cursor;
        cursor.picture.image = Bitmap32(2, 2);
        cursor.picture.image.pixels = {1,   1,   1,   0,   200,  200,  200,  255,
                                       200, 200, 200, 255, 0xC7, 0xC6, 0xC5, 255};
        cursor.picture.hotSpot = Point{1, 1};
        cursor.screenPos = Point{30, 40};
    }
    CaptureSession sessionAt(int rate) { return CaptureSession(grabber, doc, kRegion, rate); }
    test::FakeGrabber grabber;
    CQuibDoc doc;
};

}  // namespace

TEST_F(CaptureSessionTest, GrabRecordsCursorLessHotSpotRelativeToTheRegionAndHidesOneInThePicture) {
    CaptureSession session = sessionAt(0);
    ASSERT_TRUE(session.captureOnce());
    EXPECT_EQ(doc.frames[0].cursorPos, (Point{30 - 10 - 1, 40 - 10 - 1}));
    EXPECT_EQ(doc.frames[0].cursorWidth, 2);
    const Bitmap32 cursor = doc.frames[0].cursorImage();
    EXPECT_EQ(cursor.pixel(0, 0)[3], 0);
    EXPECT_EQ(cursor.pixel(1, 0)[3], 255);
    EXPECT_EQ(std::vector<uint8_t>(cursor.pixel(1, 1), cursor.pixel(1, 1) + 4),
              (std::vector<uint8_t>{0xC7, 0xC6, 0xC5, 255}));
    EXPECT_EQ(session.rate(), 1);
    EXPECT_EQ(session.intervalMs(), 1000);
    // Fresh defaults of a 100 x 80 region: no text, nothing shown but the cursor.
    const Frame& f = doc.frames[0];
    EXPECT_TRUE(f.title.empty() && f.textBox.text.empty());
    EXPECT_EQ(f.textBox.rect, (Rect{60, 48, 80, 64}));
    EXPECT_EQ(f.nextButton.pos, (Point{100 - 60, 80 - 24}));
    EXPECT_EQ(f.prevButton.pos, (Point{100 - 120, 80 - 24}));
    EXPECT_EQ(f.textBox.font.logFont.face(), "DejaVu Sans");  // the project's style: 10 points
    EXPECT_EQ(f.textBox.font.logFont.height, -13);
    EXPECT_EQ(f.textBox.visible + f.prevButton.visible + f.nextButton.visible + f.gotoButtons[0].visible +
                  f.gotoButtons[1].visible,
              0u);
    // A cursor already in the picture: the frame keeps its own cursor hidden.
    EXPECT_EQ(doc.frames[0].cursorVisible, 1u);
    grabber.cursor.inPicture = true;
    ASSERT_TRUE(session.captureOnce());
    EXPECT_EQ(doc.frames[1].cursorVisible, 0u);
}

TEST_F(CaptureSessionTest, RegionOfAnotherSizeThanTheProjectIsRefused) {
    prepareCaptureProject(doc, Rect{0, 0, 50, 50});
    CaptureSession session(grabber, doc, kRegion, 5);
    EXPECT_FALSE(session.captureOnce());
    EXPECT_EQ(session.lastError(), "Errore salvando il frame catturato.");
    EXPECT_EQ(doc.frameCount(), 0);
}

TEST_F(CaptureSessionTest, TimedFramesShowForTheIntervalSingleGrabsForNoTimeAndAFailedGrabStops) {
    CaptureSession session = sessionAt(3);
    ASSERT_TRUE(session.captureOnce());
    EXPECT_FALSE(session.tick());  // not running yet
    session.toggleTimedCapture();
    ASSERT_TRUE(session.tick());
    session.setIntervalMs(125);
    ASSERT_TRUE(session.tick());
    ASSERT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(doc.frames[0].displayTime, 0u);
    EXPECT_EQ(doc.frames[1].displayTime, 333u);
    EXPECT_EQ(doc.frames[2].displayTime, 125u);
    // A failed grab stops timed capture and leaves the project.
    grabber.failGrabs = true;
    EXPECT_FALSE(session.tick());
    EXPECT_FALSE(session.timedCaptureRunning());
    EXPECT_EQ(session.counter(), 3);
    EXPECT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(session.takeError(), "no screen");
    EXPECT_TRUE(session.lastError().empty());
}

// Beyond its memory budget a capture moves pictures to a nameless file of the cache folder; the
// frames still show what was grabbed, save the same bytes, and nothing stays in the folder.
// Where the folder cannot be used the pictures stay in memory.
TEST_F(CaptureSessionTest, PicturesBeyondTheMemoryBudgetGoToDiskAndStayTheSame) {
    const quib::test::TempDir temp;
    const std::filesystem::path base = temp.dir();
    std::ofstream(base / "plain-file") << "x";
    for (const std::filesystem::path& folder : {base / "cache" / "quib", base / "plain-file" / "quib"}) {
        SCOPED_TRACE(folder.string());
        CQuibDoc reference, spilled;
        for (CQuibDoc* doc : {&reference, &spilled}) {
            prepareCaptureProject(*doc, kRegion);
            grabber.varyShade = true;
            grabber.grabs = 1;
            CaptureSession session(grabber, *doc, kRegion, 1);
            if (doc == &spilled)
                session.setMemoryBudget(0, folder.string());
            for (int i = 0; i < 6; ++i)
                ASSERT_TRUE(session.captureOnce());
            doc->DeleteFrame(2);  // the budget finds frames that moved since their capture
            ASSERT_TRUE(session.captureOnce());
        }
        ASSERT_EQ(spilled.frameCount(), 6);
        const int shades[] = {1, 2, 4, 5, 6, 7};
        Bitmap24 picture;
        for (int i = 0; i < 6; ++i) {
            ASSERT_TRUE(spilled.decodeFrame(i, picture));
            EXPECT_EQ(picture.pixels.front(), shades[i]);
            EXPECT_EQ(picture.pixels.back(), shades[i]);
        }
        NullProgress progress;
        EXPECT_EQ(ProjectFile::store(spilled, "", progress), ProjectFile::store(reference, "", progress));
        EXPECT_TRUE(!std::filesystem::is_directory(folder) || std::filesystem::is_empty(folder));
    }
}

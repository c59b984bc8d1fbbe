#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "cursors/standard_cursors.h"
#include "model/default_buttons.h"
#include "model/quib_doc.h"
#include "model_test_util.h"

namespace quib {
namespace {

using test::gotoTarget;
using test::linkGoto;
using test::makeProject;
using test::RecordingObserver;
using test::solidImage;
using test::storedPixels;

// Prepares the working copy as an empty-frame template, as the insert command does.
void prepareEmptyTemplate(CQuibDoc& doc) {
    doc.SelectFrame(doc.currentFrameIndex, true);
    doc.currentFrame.textBox.text.clear();
    doc.currentFrame.title = "new";
    std::fill(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(), 0);
}

// ---- Goto links across insertions and deletions ----

// A Goto link follows its target frame across insertions and deletions of other frames.
TEST(GotoLinks, FollowTheirTargetAcrossInsertionsAndDeletions) {
    struct Link {
        int from, to, button;
    };
    struct Expected {
        int from, button;
        const char* targetTitle;
    };
    struct Case {
        const char* what;
        int frames;
        std::vector<Link> links;
        int select;
        int insertCount;  // 0 deletes frame `deleted` instead
        bool before;
        int deleted;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"insert three before frame five", 8, {{0, 6, 0}}, 4, 3, true, 0, {{0, 0, "F6"}}},
        {"insert before the target keeps the link on the inserted frame",
         6,
         {{0, 4, 0}},
         4,
         2,
         true,
         0,
         {{0, 0, "new"}}},
        {"frames after the insertion linking back",
         6,
         {{5, 0, 0}, {4, 3, 1}},
         2,
         2,
         true,
         0,
         {{7, 0, "F0"}, {6, 1, "F3"}}},
        {"insert after current", 5, {{1, 4, 0}, {4, 1, 0}}, 2, 1, false, 0, {{1, 0, "F4"}, {5, 0, "F1"}}},
        {"delete between a backward link", 7, {{5, 1, 0}}, 0, 0, false, 2, {{4, 0, "F1"}}},
        {"delete between a forward link", 7, {{0, 5, 0}}, 6, 0, false, 3, {{0, 0, "F5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQuibDoc doc;
        makeProject(doc, c.frames);
        for (const Link& link : c.links)
            linkGoto(doc, link.from, link.to, link.button);
        doc.SelectFrame(c.select, false);
        if (c.insertCount > 0) {
            prepareEmptyTemplate(doc);
            ASSERT_TRUE(doc.InsertFramesAtCurrent(c.before, c.insertCount));
            EXPECT_EQ(doc.frameCount(), c.frames + c.insertCount);
        } else {
            ASSERT_TRUE(doc.DeleteFrame(c.deleted));
        }
        for (const Expected& e : c.expected)
            EXPECT_EQ(doc.frames[size_t(gotoTarget(doc, e.from, e.button))].title, e.targetTitle);
    }
}

TEST(GotoLinks, DeleteAdjustsTheWorkingCopyOfTheCurrentFrame) {
    CQuibDoc doc;
    makeProject(doc, 5);
    linkGoto(doc, 0, 4);
    doc.SelectFrame(0, true);
    ASSERT_TRUE(doc.DeleteFrame(2));
    EXPECT_EQ(doc.currentFrame.gotoButtons[0].targetOffset, 3);
    EXPECT_TRUE(doc.elementsChanged);
    doc.SelectFrame(1, false);  // commits
    EXPECT_EQ(doc.frames[0].gotoButtons[0].targetOffset, 3);
}

// ---- Inserting frames ----

TEST(InsertFrames, CopiesTheWorkingCopyAndCurrentImageIntoEveryInsertedFrame) {
    CQuibDoc doc;
    makeProject(doc, 3);
    doc.SelectFrame(1, false);
    doc.currentImage = solidImage(doc.frameSize, 1, 2, 3);
    doc.currentFrame.title = "tpl";
    ASSERT_TRUE(doc.InsertFramesAtCurrent(false, 2));
    ASSERT_EQ(doc.frameCount(), 5);
    for (int i : {2, 3}) {
        EXPECT_EQ(doc.frames[size_t(i)].title, "tpl");
        EXPECT_EQ(storedPixels(doc, i), solidImage(doc.frameSize, 1, 2, 3).pixels);
    }
    EXPECT_EQ(doc.frames[2].imageData, doc.frames[3].imageData);
    // The current frame is reloaded from the array: the template changes do not reach it.
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(doc.currentFrame.title, "F1");
    EXPECT_EQ(doc.frames[1].title, "F1");
    EXPECT_EQ(doc.currentImage.pixels, solidImage(doc.frameSize, 11, 11, 11).pixels);
}

TEST(InsertFrames, IntoAnEmptyProjectGivesArrowCursorAtTheCentreAndSelectsAFrame) {
    CQuibDoc doc;
    doc.InitNewProject();
    doc.frameOrigin = Point{10, 20};
    doc.SetEmptyProjectFrameSize(101, 51);
    ASSERT_TRUE(doc.InsertFramesAtCurrent(false, 1));
    ASSERT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(doc.currentFrameIndex, 0);
    EXPECT_EQ(doc.frames[0].cursorPos, (Point{10 + 50, 20 + 25}));
    EXPECT_EQ(doc.frames[0].cursorWidth, 32);
    EXPECT_EQ(doc.frames[0].cursorPixels.size(), 32u * 32u * 4u);
    EXPECT_EQ(storedPixels(doc, 0), std::vector<uint8_t>(101 * 51 * 3, 0));
}

TEST(InsertFrames, ModifiedWorkingCopyDoesNotOverwriteTheCurrentFrame) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.SelectFrame(1, false);
    doc.currentFrame.textBox.text.clear();
    doc.currentFrame.title = "template";
    doc.elementsChanged = true;
    doc.imageChanged = true;
    ASSERT_TRUE(doc.InsertFramesAtCurrent(true, 1));
    EXPECT_EQ(doc.frames[2].title, "F1");
    EXPECT_EQ(storedPixels(doc, 2), solidImage(doc.frameSize, 11, 11, 11).pixels);
}

// ---- Deleting frames ----

TEST(DeleteFrame, DeletingTheCurrentFrameDoesNotCommitItIntoItsSuccessor) {
    CQuibDoc doc;
    makeProject(doc, 3);
    doc.SelectFrame(1, false);
    doc.currentFrame.title = "edited";
    doc.elementsChanged = true;
    doc.currentImage = solidImage(doc.frameSize, 99, 99, 99);
    doc.imageChanged = true;
    ASSERT_TRUE(doc.DeleteFrame(1));
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(doc.frames[1].title, "F2");
    EXPECT_EQ(storedPixels(doc, 1), solidImage(doc.frameSize, 12, 12, 12).pixels);
}

// Two frames inserted at 0, or frame 2 or 0 deleted, while frame 2 is current.
TEST(CurrentFrame, FollowsInsertionsAndDeletionsOrBecomesTheNewLast) {
    for (const auto& [inserted, deleted, index, title] :
         {std::tuple{2, -1, 4, "F2"}, std::tuple{0, 2, 1, "F1"}, std::tuple{0, 0, 1, "F2"}}) {
        SCOPED_TRACE(deleted);
        CQuibDoc doc;
        makeProject(doc, 3);
        doc.SelectFrame(2, false);
        ASSERT_TRUE(inserted > 0 ? doc.InsertFrames(0, true, inserted) : doc.DeleteFrame(deleted));
        EXPECT_EQ(doc.currentFrameIndex, index);
        EXPECT_EQ(doc.currentFrame.title, title);
    }
}

TEST(DeleteFrame, DeletingTheLastFrameEmptiesTheProjectAndSendsHintZero) {
    CQuibDoc doc;
    makeProject(doc, 1);
    RecordingObserver observer;
    doc.addObserver(&observer);
    ASSERT_TRUE(doc.DeleteFrame(0));
    EXPECT_EQ(doc.frameSize, (Size{0, 0}));
    EXPECT_TRUE(doc.currentImage.isNull());
    EXPECT_EQ(doc.currentFrameIndex, -1);
    ASSERT_EQ(observer.hints.size(), 1u);
    EXPECT_EQ(observer.hints[0].first, hint::Everything);
    EXPECT_FALSE(doc.DeleteFrame(0));
}

// ---- Selecting frames ----

TEST(SelectFrame, SameIndexWithoutForceCommitsNothing) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.currentFrame.title = "pending";
    doc.elementsChanged = true;
    EXPECT_TRUE(doc.SelectFrame(0, false));
    EXPECT_EQ(doc.frames[0].title, "F0");
    EXPECT_TRUE(doc.elementsChanged);
}

TEST(SelectFrame, CommitsPendingChangesEvenWhenTheTargetIsOutOfRange) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.currentFrame.title = "pending";
    doc.elementsChanged = true;
    doc.currentImage = solidImage(doc.frameSize, 5, 6, 7);
    doc.imageChanged = true;
    EXPECT_FALSE(doc.SelectFrame(7, false));
    EXPECT_EQ(doc.frames[0].title, "pending");
    EXPECT_EQ(storedPixels(doc, 0), solidImage(doc.frameSize, 5, 6, 7).pixels);
    EXPECT_FALSE(doc.elementsChanged);
    EXPECT_FALSE(doc.imageChanged);
    EXPECT_EQ(doc.currentFrameIndex, 0);
}

TEST(SelectFrame, LoadsElementsCursorAndPicture) {
    CQuibDoc doc;
    makeProject(doc, 3);
    doc.frames[1].setCursorImage(test::oddCursor());
    EXPECT_TRUE(doc.SelectFrame(1, false));
    EXPECT_EQ(doc.currentFrame.title, "F1");
    EXPECT_EQ(doc.currentFrame.cursorPixels, test::oddCursor().pixels);
    EXPECT_EQ(doc.currentImage.pixels, solidImage(doc.frameSize, 11, 11, 11).pixels);
}

TEST(SelectFrame, FirstFrameHidesPreviousAndLastHidesNextInTheWorkingCopyOnly) {
    CQuibDoc doc;
    makeProject(doc, 3);
    doc.SelectFrame(0, true);
    EXPECT_EQ(doc.currentFrame.prevButton.visible, 0u);
    EXPECT_EQ(doc.currentFrame.nextButton.visible, 1u);
    EXPECT_EQ(doc.frames[0].prevButton.visible, 1u);
    doc.CommitFrameElements();
    EXPECT_EQ(doc.frames[0].prevButton.visible, 0u);
    doc.SelectFrame(2, false);
    EXPECT_EQ(doc.currentFrame.nextButton.visible, 0u);
    EXPECT_EQ(doc.currentFrame.prevButton.visible, 1u);
}

TEST(SelectFrame, DamagedStreamIsNotReported) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.frames[1].imageData =
        std::vector<uint8_t>(doc.frames[1].imageData.begin(), doc.frames[1].imageData.begin() + 5);
    EXPECT_TRUE(doc.SelectFrame(1, false));
    EXPECT_EQ(doc.currentImage.pixels.size(), size_t(8 * 6 * 3));
}

// ---- Commits, frame access ----

TEST(Commit, CommitFrameImageForAnotherFrameStoresTheCurrentPicture) {
    CQuibDoc doc;
    makeProject(doc, 3);
    ASSERT_TRUE(doc.CommitFrameImage(2));
    EXPECT_EQ(storedPixels(doc, 2), solidImage(doc.frameSize, 10, 10, 10).pixels);
    EXPECT_FALSE(doc.CommitFrameImage(3));
    EXPECT_FALSE(doc.CommitFrameElements(-2));
    EXPECT_FALSE(doc.CopyFrameImage(0, 3));
    EXPECT_TRUE(doc.CopyFrameImage(0, 1));
    EXPECT_EQ(storedPixels(doc, 0), solidImage(doc.frameSize, 11, 11, 11).pixels);
}

TEST(FrameAccess, GetFrameReadsTheWorkingCopyForTheCurrentIndexAndDefaultsOutOfRange) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.currentFrame.title = "live";
    FrameElements f;
    doc.GetFrame(0, f);
    EXPECT_EQ(f.title, "live");
    doc.GetFrame(1, f);
    EXPECT_EQ(f.title, "F1");
    doc.GetFrame(5, f);
    EXPECT_EQ(f, FrameElements());
}

TEST(FrameAccess, SetFrameOnTheCurrentMarksChangedAndCopiesCursorOnRequest) {
    CQuibDoc doc;
    makeProject(doc, 2);
    Frame in;
    in.title = "set";
    in.setCursorImage(test::oddCursor(2, 4));
    doc.SetFrame(1, in, false);
    EXPECT_EQ(doc.frames[1].title, "set");
    EXPECT_TRUE(doc.frames[1].cursorPixels.empty());
    EXPECT_FALSE(doc.isModified());
    doc.SetFrame(0, in, true);
    EXPECT_EQ(doc.currentFrame.title, "set");
    EXPECT_EQ(doc.currentFrame.cursorPixels, test::oddCursor(2, 4).pixels);
    EXPECT_TRUE(doc.elementsChanged);
    EXPECT_TRUE(doc.isModified());
    doc.SetFrame(9, in, true);  // ignored
}

TEST(AppendCapturedFrame, AppendsTheWorkingCopyAndPictureAndMakesItCurrent) {
    CQuibDoc doc;
    makeProject(doc, 1);
    doc.currentImage = solidImage(doc.frameSize, 40, 41, 42);
    doc.currentFrame.title = "captured";
    doc.currentFrame.setCursorImage(test::oddCursor());
    ASSERT_TRUE(doc.AppendCapturedFrame());
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(doc.frames[1].title, "captured");
    EXPECT_EQ(doc.frames[1].cursorPixels, test::oddCursor().pixels);
    EXPECT_EQ(storedPixels(doc, 1), solidImage(doc.frameSize, 40, 41, 42).pixels);
    EXPECT_EQ(doc.frames[0].title, "F0");
}

TEST(Commit, PictureOfAnotherSizeIsRefused) {
    CQuibDoc doc;
    makeProject(doc, 2);
    const auto before = doc.frames[1].imageData;
    doc.currentImage = Bitmap24(3, 3);
    EXPECT_FALSE(doc.CommitFrameImage(1));
    EXPECT_EQ(doc.frames[1].imageData, before);
}

TEST(EmptyProject, SetEmptyProjectFrameSizeLaysOutTheDefaultElements) {
    CQuibDoc doc;
    doc.InitNewProject();
    doc.backgroundImage = solidImage(Size{4, 2}, 9, 9, 9);
    RecordingObserver observer;
    doc.addObserver(&observer);
    doc.SetEmptyProjectFrameSize(200, 100);
    EXPECT_EQ(doc.frameSize, (Size{200, 100}));
    EXPECT_EQ(doc.backgroundSize, (Size{200, 100}));
    EXPECT_EQ(doc.currentImage.pixels.size(), size_t(200 * 100 * 3));
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{120, 60, 160, 80}));
    EXPECT_EQ(doc.currentFrame.nextButton.pos, (Point{140, 76}));
    EXPECT_EQ(doc.currentFrame.prevButton.pos, (Point{80, 76}));
    ASSERT_EQ(doc.backgroundImage.width, 200);
    EXPECT_EQ(doc.backgroundImage.pixel(3, 1)[0], 9);
    EXPECT_EQ(observer.hints, (std::vector<std::pair<int, uint32_t>>{{hint::Everything, 0}}));
}

// ---- Cursor pictures ----

TEST(CursorPicture, KeyColourAndUncoveredPixelsBecomeTransparent) {
    CursorPicture cursor;
    cursor.image = Bitmap32(3, 2);
    auto set = [&](int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
        uint8_t* p = cursor.image.pixel(x, y);
        p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    };
    set(0, 0, 0xC7, 0xC6, 0xC5, 255);  // the key colour itself
    set(1, 0, 10, 20, 30, 127);        // not covered
    set(2, 0, 10, 20, 30, 128);        // covered
    set(0, 1, 0, 0, 0, 255);
    set(1, 1, 255, 255, 255, 200);
    Frame frame;
    frame.setCursorImage(test::oddCursor());
    CQuibDoc::SetCursorImageFromHandle(frame, cursor);
    ASSERT_EQ(frame.cursorWidth, 3);
    ASSERT_EQ(frame.cursorHeight, 2);
    const std::vector<uint8_t> expected = {1, 1, 1, 0,   1,   1,   1,   0,   10, 20, 30, 255,
                                           0, 0, 0, 255, 255, 255, 255, 255, 1,  1,  1,  0};
    EXPECT_EQ(frame.cursorPixels, expected);
}

TEST(CursorPicture, StandardArrowIsA32PixelBlackArrowWithWhiteOutline) {
    const CursorPicture arrow = standardArrowCursor();
    ASSERT_EQ(arrow.image.width, 32);
    ASSERT_EQ(arrow.image.height, 32);
    EXPECT_EQ(arrow.hotSpot, (Point{0, 0}));
    EXPECT_EQ(arrow.image.pixel(0, 0)[3], 255);  // the tip is covered
    EXPECT_EQ(arrow.image.pixel(0, 0)[0], 255);  // outline white
    EXPECT_EQ(arrow.image.pixel(1, 5)[0], 0);    // body black
    EXPECT_EQ(arrow.image.pixel(1, 5)[3], 255);
    EXPECT_EQ(arrow.image.pixel(31, 31)[3], 0);  // outside
}

// ---- Title, status bar, observers, new project ----

// The white columns of a button picture's row: first and last.
std::pair<int, int> whiteSpan(const Bitmap32& image, int y) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width; ++x) {
        const uint8_t* p = image.pixel(x, y);
        if (p[0] == 255 && p[1] == 255 && p[2] == 255 && x > 2 && x < image.width - 3) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

TEST(DefaultButtons, PreviousPointsLeftAndNextPointsRight) {
    const ButtonImageSet set = defaultButtonImages();
    const Bitmap32& prev = set.images[ButtonImageSet::Previous];
    const Bitmap32& next = set.images[ButtonImageSet::Next];
    EXPECT_LT(whiteSpan(prev, 12).first, whiteSpan(prev, 7).first);
    EXPECT_EQ(whiteSpan(prev, 12).second, whiteSpan(prev, 7).second);
    EXPECT_GT(whiteSpan(next, 12).second, whiteSpan(next, 7).second);
    EXPECT_EQ(whiteSpan(next, 12).first, whiteSpan(next, 7).first);
}

TEST(StatusBar, FrameAndSizeIndicators) {
    CQuibDoc doc;
    makeProject(doc, 3, Size{64, 48});
    doc.backgroundSize = Size{100, 80};
    doc.SelectFrame(1, false);
    EXPECT_EQ(doc.frameIndicatorText(), "Frame 2 di 3");
    EXPECT_EQ(doc.sizeIndicatorText(), "64x48 (100x80)");
}

TEST(Observers, OnlyRegisteredObserversOtherThanTheSenderHearUpdates) {
    CQuibDoc doc;
    RecordingObserver a, b;
    doc.addObserver(&a);
    doc.addObserver(&b);
    doc.addObserver(&a);
    doc.UpdateAllViews(hint::FramesInserted, hint::insertedRange(3, 2), &b);
    doc.removeObserver(&a);
    doc.UpdateAllViews(hint::Cursor);
    EXPECT_EQ(a.hints, (std::vector<std::pair<int, uint32_t>>{{9, 3u | (2u << 16)}}));
    EXPECT_EQ(b.hints, (std::vector<std::pair<int, uint32_t>>{{5, 0}}));
}

TEST(NewProject, StartsWithHtml5OutputOpaqueDefaultButtonsAndModified) {
    CQuibDoc doc;
    doc.setTitle("Senzatitolo1");
    doc.InitNewProject();
    EXPECT_EQ(doc.settings.outputType, OutputType::Html5);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.title(), "Senzatitolo1 *");
    for (const Bitmap32& image : doc.buttonImages.images) {
        ASSERT_EQ(image.width, 60);
        ASSERT_EQ(image.height, 24);
        for (size_t i = 3; i < image.pixels.size(); i += 4)
            ASSERT_EQ(image.pixels[i], 255);
    }
    EXPECT_NE(doc.buttonImages.images[0], doc.buttonImages.images[1]);
    EXPECT_EQ(doc.buttonImages.images[2], doc.buttonImages.images[3]);
    doc.DeleteContents();
    EXPECT_TRUE(doc.buttonImages.images[0].isNull());
}

}  // namespace
}  // namespace quib

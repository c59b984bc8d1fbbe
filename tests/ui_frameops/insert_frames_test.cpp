#include <gtest/gtest.h>

#include <QRadioButton>
#include <QSpinBox>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/frame_operations.h"
#include "ui/insert_frames_dialog.h"

namespace quib {
namespace {

using test::patternBlue;
using test::patternRed;

struct InsertFrames : test::FrameOpsFixture {
    bool allBlack(const CQuibDoc& doc, int index) {
        CQuibDoc& d = const_cast<CQuibDoc&>(doc);
        d.SelectFrame(index);
        for (uint8_t byte : d.currentImage.pixels)
            if (byte != 0)
                return false;
        return true;
    }
    // The frame's picture at (0, 0) tells which pattern frame it came from.
    int patternFrameOf(CQuibDoc& doc, int index) {
        doc.SelectFrame(index);
        for (int k = 0; k < 32; ++k)
            if (doc.currentImage.pixel(0, 0)[0] == patternBlue(0, 0, k) &&
                doc.currentImage.pixel(0, 0)[2] == patternRed(0, 0, k))
                return k;
        return -1;
    }
    InsertFramesRequest request(int count, bool copy, bool after) {
        InsertFramesRequest r;
        r.count = count;
        r.copyCurrent = copy;
        r.after = after;
        return r;
    }
};

TEST_F(InsertFrames, EmptyProject_GetsBlackFramesOfTheAskedSizeAtIndexZero) {
    auto document = QuibProjectDocument::createNew();
    CQuibDoc& doc = document->doc();
    test::HintRecorder hints;
    doc.addObserver(&hints);
    InsertFramesRequest r = request(3, true, true);  // copy and after do not apply without frames
    r.emptyProjectSize = Size{100, 80};
    ASSERT_TRUE(insertFrames(doc, r).ok());
    EXPECT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(doc.frameSize, (Size{100, 80}));
    EXPECT_EQ(doc.backgroundSize, (Size{100, 80}));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(allBlack(doc, i)) << i;
    EXPECT_TRUE(doc.currentFrame.hasCursorImage());
    EXPECT_TRUE(hints.heard(hint::FramesInserted));
    doc.removeObserver(&hints);
}

TEST_F(InsertFrames, EmptyFramesBeforeCurrent_AreBlankAndTheCurrentFrameStaysCurrent) {
    auto document = test::patternProject(3, 40, 30);
    CQuibDoc& doc = document->doc();
    doc.SelectFrame(1);
    struct ArgRecorder : DocObserver {
        std::vector<std::pair<int, uint32_t>> seen;
        void onUpdate(int h, uint32_t arg) override { seen.emplace_back(h, arg); }
    } recorder;
    doc.addObserver(&recorder);
    ASSERT_TRUE(insertFrames(doc, request(2, false, false)).ok());
    doc.removeObserver(&recorder);
    EXPECT_TRUE(std::find(recorder.seen.begin(), recorder.seen.end(),
                          std::make_pair(hint::FramesInserted, hint::insertedRange(1, 2))) !=
                recorder.seen.end());
    EXPECT_EQ(doc.frameCount(), 5);
    EXPECT_EQ(doc.currentFrameIndex, 3);
    EXPECT_EQ(doc.currentFrame.textBox.text, "frame 1");
    EXPECT_TRUE(doc.isModified());
    for (int i : {1, 2}) {
        EXPECT_TRUE(allBlack(doc, i));
        Frame f;
        doc.GetFrame(i, f);
        EXPECT_EQ(f.textBox.visible, 0u);
        EXPECT_EQ(f.textBox.text, "");
        EXPECT_EQ(f.textBox.rect, (Rect{24, 18, 32, 24}));
        EXPECT_EQ(
            f.prevButton.visible | f.nextButton.visible | f.gotoButtons[0].visible | f.gotoButtons[1].visible,
            0u);
    }
    EXPECT_EQ(patternFrameOf(doc, 0), 0);
    EXPECT_EQ(patternFrameOf(doc, 3), 1);
    EXPECT_EQ(patternFrameOf(doc, 4), 2);
}

TEST_F(InsertFrames, CopiesAfterCurrent_HaveItsPictureWithoutText) {
    auto document = test::patternProject(3, 40, 30);
    CQuibDoc& doc = document->doc();
    doc.SelectFrame(1);
    ASSERT_TRUE(insertFrames(doc, request(2, true, true)).ok());
    EXPECT_EQ(doc.frameCount(), 5);
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(patternFrameOf(doc, 2), 1);
    EXPECT_EQ(patternFrameOf(doc, 3), 1);
    EXPECT_EQ(patternFrameOf(doc, 4), 2);
    Frame copy;
    doc.GetFrame(2, copy);
    EXPECT_EQ(copy.textBox.text, "");
    Frame original;
    doc.GetFrame(1, original);
    EXPECT_EQ(original.textBox.text, "frame 1");
}

TEST_F(InsertFrames, PendingEditsOfTheCurrentFrame_AreKeptAndNotEmptied) {
    auto document = test::patternProject(2, 20, 20);
    CQuibDoc& doc = document->doc();
    doc.currentFrame.textBox.text = "edited";
    doc.currentFrame.displayTime = 1234;
    doc.elementsChanged = true;
    ASSERT_TRUE(insertFrames(doc, request(1, true, true)).ok());
    Frame original, copy;
    doc.GetFrame(0, original);
    doc.GetFrame(1, copy);
    EXPECT_EQ(original.textBox.text, "edited");
    EXPECT_EQ(copy.textBox.text, "");
    EXPECT_EQ(copy.displayTime, 1234u);
}

TEST_F(InsertFrames, GotoTargets_KeepPointingAtTheSameFrames) {
    auto document = test::patternProject(4, 20, 20);
    CQuibDoc& doc = document->doc();
    Frame f;
    doc.GetFrame(0, f);
    f.gotoButtons[0].targetOffset = 3;  // frame 3
    doc.SetFrame(0, f, false);
    doc.GetFrame(3, f);
    f.gotoButtons[1].targetOffset = -3;  // frame 0
    doc.SetFrame(3, f, false);
    doc.SelectFrame(2);
    ASSERT_TRUE(insertFrames(doc, request(2, false, false)).ok());
    doc.GetFrame(0, f);
    EXPECT_EQ(0 + f.gotoButtons[0].targetOffset, 5);
    EXPECT_EQ(patternFrameOf(doc, 5), 3);
    doc.GetFrame(5, f);
    EXPECT_EQ(5 + f.gotoButtons[1].targetOffset, 0);
}

TEST_F(InsertFrames, CountOutsideOneToNinetyNine_IsRefusedAndChangesNothing) {
    auto document = test::patternProject(2, 20, 20);
    CQuibDoc& doc = document->doc();
    for (int count : {0, 100, -1}) {
        const Status status = insertFrames(doc, request(count, false, false));
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.stringId(), str::NumberOneToNinetyNine);
    }
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(InsertFrames, OversizedFrameSizeForAnEmptyProject_IsRefused) {
    auto document = QuibProjectDocument::createNew();
    InsertFramesRequest r = request(1, false, false);
    r.emptyProjectSize = Size{30000, 30000};
    EXPECT_FALSE(insertFrames(document->doc(), r).ok());
    EXPECT_EQ(document->doc().frameCount(), 0);
    EXPECT_EQ(document->doc().frameSize, (Size{0, 0}));
}

TEST_F(InsertFrames, DeletingTheOnlyFrame_AsksForTheSizeAgain) {
    auto document = test::patternProject(1, 20, 20);
    CQuibDoc& doc = document->doc();
    ASSERT_TRUE(doc.DeleteFrame(0));
    InsertFramesDialog dialog(doc.frameCount() > 0);
    EXPECT_TRUE(dialog.asksForFrameSize());
    dialog.widthEdit()->setValue(64);
    dialog.heightEdit()->setValue(32);
    ASSERT_TRUE(insertFrames(doc, dialog.request()).ok());
    EXPECT_EQ(doc.frameSize, (Size{64, 32}));
}

TEST_F(InsertFrames, Dialog_OffersOnlyEmptyFramesAndTheSizeWithoutFrames) {
    InsertFramesDialog without(false);
    EXPECT_FALSE(without.copyChoice()->isVisibleTo(&without));
    EXPECT_FALSE(without.beforeChoice()->isVisibleTo(&without));
    EXPECT_TRUE(without.widthEdit()->isVisibleTo(&without));
    EXPECT_EQ(without.request().emptyProjectSize, (Size{640, 480}));
    InsertFramesDialog with(true);
    EXPECT_TRUE(with.copyChoice()->isVisibleTo(&with));
    EXPECT_FALSE(with.widthEdit()->isVisibleTo(&with));
    EXPECT_TRUE(with.emptyChoice()->isChecked());
    EXPECT_TRUE(with.beforeChoice()->isChecked());
    EXPECT_EQ(with.request().count, 1);
}

TEST_F(InsertFrames, Dialog_RefusesACountOutOfRangeAndAZeroSize) {
    InsertFramesDialog dialog(false);
    dialog.setMessageFunction([this](const QString& text) { messages << text; });
    dialog.countEdit()->setValue(120);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Si prega di inserire un numero tra 1 e 99"));
    dialog.countEdit()->setValue(5);
    dialog.heightEdit()->setValue(0);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.heightEdit()->setValue(10);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(InsertFrames, TheInsertCommand_ReachesTheDocumentAndRunsTheDialog) {
    auto document = test::patternProject(2, 20, 20);
    ASSERT_TRUE(document->handles(cmd::InsertFrames));
    EXPECT_TRUE(document->enabled(cmd::InsertFrames));
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog& dialog) {
        dialog.countEdit()->setValue(3);
        dialog.copyChoice()->setChecked(true);
        return true;
    };
    document->run(cmd::InsertFrames);
    EXPECT_EQ(document->doc().frameCount(), 5);
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog&) { return false; };
    document->run(cmd::InsertFrames);
    EXPECT_EQ(document->doc().frameCount(), 5);
}

}  // namespace
}  // namespace quib

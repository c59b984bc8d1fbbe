#include <gtest/gtest.h>

#include <optional>

#include "../ui/ui_test_support.h"
#include "cursors/standard_cursors.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "ui/command_ids.h"
#include "ui/cursor_commands.h"
#include "ui/quib_project_document.h"
#include "ui_cursors_support.h"

namespace quib {
namespace {

using test::plainCursor;

// The cursor picture bytes of a frame, as stored.
std::vector<uint8_t> cursorBytes(const CQuibDoc& doc, int index) {
    return doc.frameCursorImage(index).pixels;
}

class CursorCommandsTest : public ::testing::Test, public test::WithApplication {
protected:
    void SetUp() override {
        ASSERT_TRUE(buildSyntheticProject(m_doc, 64, 48, 3));
        m_doc.addObserver(&m_hints);
        setCursorChooser([this](const CursorPicture& current, QWidget*) {
            m_offered = current;
            return m_answer;
        });
    }
    void TearDown() override {
        setCursorChooser({});
        m_doc.removeObserver(&m_hints);
    }

    CQuibDoc m_doc;
    test::HintRecorder m_hints;
    std::optional<CursorPicture> m_offered;
    std::optional<CursorPicture> m_answer;
};

TEST_F(CursorCommandsTest, ApplyingToTwoFramesChangesBothPicturesAndNoOther) {
    const std::vector<uint8_t> untouched = cursorBytes(m_doc, 1);
    const CursorPicture green = plainCursor(32, 32, 0, 255, 0);
    const Point position = [&] {
        FrameElements e;
        m_doc.GetFrame(2, e);
        return e.cursorPos;
    }();
    applyCursorToFrames(m_doc, {0, 2}, green);
    for (int index : {0, 2}) {
        const Bitmap32 picture = m_doc.frameCursorImage(index);
        ASSERT_EQ(picture.width, 32);
        EXPECT_EQ(picture.pixels, green.image.pixels) << index;
    }
    EXPECT_EQ(cursorBytes(m_doc, 1), untouched);
    FrameElements e;
    m_doc.GetFrame(2, e);
    EXPECT_EQ(e.cursorPos, position);
    EXPECT_TRUE(m_doc.isModified());
    EXPECT_TRUE(m_hints.heard(hint::CursorPicture));
}

TEST_F(CursorCommandsTest, KeyColouredAndUncoveredPixelsBecomeTransparent) {
    CursorPicture cursor = plainCursor(2, 1, 197, 198, 199);
    cursor.image.pixel(1, 0)[3] = 0;
    applyCursorToFrames(m_doc, {1}, cursor);
    EXPECT_EQ(cursorBytes(m_doc, 1), (std::vector<uint8_t>{1, 1, 1, 0, 1, 1, 1, 0}));
}

TEST_F(CursorCommandsTest, CancelledChooserChangesNothing) {
    const std::vector<uint8_t> before = cursorBytes(m_doc, 0);
    m_doc.SetModifiedFlag(false);
    EXPECT_FALSE(chooseCursorForFrames(m_doc, {0}, nullptr));
    EXPECT_EQ(cursorBytes(m_doc, 0), before);
    EXPECT_FALSE(m_doc.isModified());
    EXPECT_FALSE(chooseCursorForFrames(m_doc, {7}, nullptr));  // no such frame: no chooser
}

TEST(CursorImageConversion, ImageRoundTripKeepsCoveredPixelsAndMarksTheRest) {
    test::ensureApplication();
    CursorPicture cursor = plainCursor(2, 1, 10, 20, 30);
    cursor.image.pixel(1, 0)[3] = 0;
    const QImage image = cursorToImage(cursor.image);
    EXPECT_EQ(image.pixel(0, 0), qRgba(10, 20, 30, 255));
    const Bitmap32 back = imageToCursorBitmap(image);
    EXPECT_EQ(back.pixels, (std::vector<uint8_t>{30, 20, 10, 255, 1, 1, 1, 0}));
}

class CursorCommandSetTest : public ::testing::Test, public test::WithApplication {};

TEST_F(CursorCommandSetTest, ChooseCursorRunsForTheCurrentFrameWhileItsCursorIsShown) {
    QuibProjectDocument document;
    ASSERT_TRUE(buildSyntheticProject(document.doc(), 64, 48, 2));
    CursorCommands commands(document);
    EXPECT_TRUE(commands.handles(cmd::ChooseCursor));
    EXPECT_FALSE(commands.handles(cmd::ChooseCursor + 1));
    CQuibDoc& doc = document.doc();
    doc.currentFrame.cursorVisible = 0;
    EXPECT_FALSE(commands.enabled(cmd::ChooseCursor));
    doc.currentFrame.cursorVisible = 1;
    ASSERT_TRUE(commands.enabled(cmd::ChooseCursor));

    const CursorPicture blue = plainCursor(32, 32, 0, 0, 255);
    setCursorChooser([&](const CursorPicture&, QWidget*) { return std::optional<CursorPicture>(blue); });
    const int other = doc.currentFrameIndex == 0 ? 1 : 0;
    const std::vector<uint8_t> otherBefore = cursorBytes(doc, other);
    commands.run(cmd::ChooseCursor);
    setCursorChooser({});
    EXPECT_EQ(cursorBytes(doc, doc.currentFrameIndex), blue.image.pixels);
    EXPECT_EQ(cursorBytes(doc, other), otherBefore);
}

}  // namespace
}  // namespace quib

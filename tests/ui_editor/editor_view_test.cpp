#include <QApplication>
#include <QImage>

#include "editor_test_support.h"
#include "model/frame_clipboard.h"
#include "ui/command_ids.h"

namespace quib {
namespace {

using EditorMouseTest = test::EditorFixture;
using EditorKeyTest = test::EditorFixture;
using EditorPaintTest = test::EditorFixture;

// A go-to button whose target lies past the last frame is crossed out in red; one inside is not.
TEST_F(EditorMouseTest, GotoTargetOutsideTheProjectIsCrossedOut) {
    for (auto [offset, marked] : {std::pair{-doc.currentFrameIndex, false}, {5, true}}) {
        doc.currentFrame.gotoButtons[0] = NavButton{1, Point{100, 100}, offset};
        doc.elementsChanged = true;
        doc.UpdateAllViews(hint::Buttons);
        const QImage shown = view->grab().toImage();
        const QSize size(doc.buttonImages.images[ButtonImageSet::Goto1].width,
                         doc.buttonImages.images[ButtonImageSet::Goto1].height);
        // The cross passes through the middle of the button.
        const QColor middle = shown.pixelColor(at(100 + size.width() / 2, 100 + size.height() / 2));
        EXPECT_EQ(middle.red() > 200 && middle.green() < 60 && middle.blue() < 60, marked) << offset;
    }
}

TEST_F(EditorMouseTest, ReleaseWithoutChange_SelectsThePressedElementAlone) {
    view->setSelection(selitem::Cursor | selitem::NextButton);
    press(at(255, 205));
    EXPECT_EQ(view->selection(), selitem::Cursor | selitem::NextButton);
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, at(255, 205));
    EXPECT_EQ(view->selection(), selitem::NextButton);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(EditorMouseTest, TheBottomRightHandleResizesTheTextBoxButNeverPastItsLeftEdge) {
    doc.currentFrame.nextButton.visible = 0;
    view->setSelection(selitem::TextBox);
    const QPoint handle = at(288 + 3, 180 + 3);
    drag(handle, handle + QPoint(10, 20));
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 298, 200}));
    drag(at(298 + 3, 200 + 3), at(100, 100));
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 160, 120}));
    EXPECT_TRUE(recorder.heard(hint::Buttons));
}

TEST_F(EditorMouseTest, ResizingStopsAtTheCanvasEdge) {
    view->setSelection(selitem::Title);
    drag(at(300 + 3, 20), at(900, 20));
    EXPECT_EQ(doc.titles.rect, (Rect{20, 8, 320, 36}));
}

TEST_F(EditorMouseTest, DoubleClickOnALoneElement_PostsItsChooser) {
    view->setSelection(selitem::NextButton);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(255, 205));
    view->setSelection(selitem::TextBox);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(200, 150));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, at(100, 150));
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(100, 150));
    EXPECT_EQ(posted, (std::vector<int>{cmd::NextButtonImage, cmd::ChooseCallout}));
}

TEST_F(EditorMouseTest, HoverShowsMoveAndResizeShapes) {
    QTest::mouseMove(view.get(), at(200, 150));
    EXPECT_EQ(view->cursor().shape(), Qt::SizeAllCursor);
    view->setSelection(selitem::TextBox);
    QTest::mouseMove(view.get(), at(288 + 3, 180 + 3));
    EXPECT_EQ(view->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(view.get(), at(100, 150));
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(EditorKeyTest, ArrowsStopTheBlockAtTheCanvasEdge) {
    view->setSelection(selitem::Cursor | selitem::NextButton);
    const int w = doc.buttonImages.images[ButtonImageSet::Next].width;
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(doc.currentFrame.nextButton.pos.x, 320 - w);
    EXPECT_EQ(doc.currentFrame.cursorPos.x, 40 + (320 - w - 250));
}

TEST_F(EditorKeyTest, ShiftArrowsMoveTheRightAndBottomEdgeOfTheTextBox) {
    view->setSelection(selitem::TextBox);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 289, 180}));
    key(Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 289, 172}));
    EXPECT_TRUE(recorder.heard(hint::Buttons));
}

TEST_F(EditorKeyTest, DeleteHidesTheSelectedElementsButNotTheTitle) {
    view->setSelection(selitem::TextBox | selitem::Cursor | selitem::NextButton | selitem::Title);
    key(Qt::Key_Delete);
    EXPECT_EQ(doc.currentFrame.textBox.visible, 0u);
    EXPECT_EQ(doc.currentFrame.cursorVisible, 0u);
    EXPECT_EQ(doc.currentFrame.nextButton.visible, 0u);
    EXPECT_EQ(doc.titles.enabled, 1u);
    EXPECT_EQ(view->selection(), selitem::Title);
    EXPECT_TRUE(recorder.heard(hint::TextBoxVisibility));
    EXPECT_TRUE(recorder.heard(hint::Cursor));
    EXPECT_TRUE(recorder.heard(hint::Buttons));
    EXPECT_TRUE(doc.isModified());
}

TEST_F(EditorKeyTest, InsertPostsTheInsertFramesCommand) {
    key(Qt::Key_Insert);
    EXPECT_EQ(posted, (std::vector<int>{cmd::InsertFrames}));
}

TEST_F(EditorKeyTest, HiddenElementsLeaveTheSelectionWhenTheViewIsNotified) {
    view->setSelection(selitem::Cursor | selitem::TextBox);
    doc.currentFrame.cursorVisible = 0;
    doc.UpdateAllViews(hint::Cursor);
    EXPECT_EQ(view->selection(), selitem::TextBox);
}

TEST_F(EditorPaintTest, ASelectedTextBoxShowsItsHandlesOnTheScreen) {
    view->setSelection(selitem::TextBox);
    const QImage shot = view->grab().toImage();
    const QPoint handle = at(288 + 3, 180 + 3);
    EXPECT_EQ(shot.pixelColor(handle), QColor(Qt::black));
    view->setSelection(0);
    const QImage plain = view->grab().toImage();
    EXPECT_NE(plain.pixelColor(handle), QColor(Qt::black));
}

TEST_F(EditorPaintTest, TheCanvasShowsTheComposedPictureAndTheMarginTheDarkenedWorkspace) {
    const QImage shot = view->grab().toImage();
    EXPECT_EQ(view->canvasRect(), QRect(140, 80, 320, 240));
    EXPECT_EQ(shot.pixelColor(5, 5), CQuibView::marginColor());
    const uint8_t* p = doc.currentImage.pixel(200, 100);
    EXPECT_EQ(shot.pixelColor(at(200, 100)), QColor(p[2], p[1], p[0]));
}

TEST_F(EditorPaintTest, TheBackBufferIsReallocatedOnlyWhenTheCanvasSizeChanges) {
    const uchar* first = view->backBuffer().constBits();
    doc.UpdateAllViews(hint::CurrentPicture);
    doc.UpdateAllViews(hint::Canvas);
    view->repaint();
    EXPECT_EQ(view->backBuffer().constBits(), first);
    doc.backgroundSize = Size{400, 300};
    doc.UpdateAllViews(hint::Canvas);
    const QImage& grown = view->backBuffer();
    EXPECT_EQ(grown.size(), QSize(400, 300));
    EXPECT_EQ(grown.pixelColor(350, 280), QColor(Qt::white));
}

TEST_F(EditorPaintTest, ALargerCanvasScrolls) {
    view->resize(200, 150);
    view->setZoom(1.0, QPoint(0, 0));
    const QRect before = view->canvasRect();
    EXPECT_EQ(before.topLeft(), QPoint(0, 0));
    QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.get(), &wheel);
    EXPECT_LT(view->canvasRect().top(), 0);
    // Hit tests follow the scrolled picture.
    press(at(50, 60));
    EXPECT_EQ(view->selection(), selitem::Cursor);
}

// The canvas is 320 x 240.
TEST_F(EditorPaintTest, ZoomShowsFramePixelsAndEditsStayInFramePixels) {
    view->resize(200, 150);
    EXPECT_TRUE(view->fitsWindow());
    EXPECT_DOUBLE_EQ(view->zoom(), 0.625);
    EXPECT_EQ(view->canvasRect(), QRect(0, 0, 200, 150));

    // Zooming about a point keeps the frame pixel under it, shown as a crisp square.
    const QPoint anchor(120, 90);
    const QPoint pixel = view->toCanvas(anchor);
    view->setZoom(4.0, anchor);
    EXPECT_LE((view->toCanvas(anchor) - pixel).manhattanLength(), 1);
    const QRect square = view->toWidget(QRect(pixel, QSize(1, 1)));
    EXPECT_EQ(square.size(), QSize(4, 4));
    const QImage shown = view->grab().toImage();
    const QColor expected = view->backBuffer().pixelColor(pixel);
    for (QPoint p : {square.topLeft(), square.bottomRight()})
        EXPECT_EQ(shown.pixelColor(p), expected);

    // The steps go through the levels and stop at the ends.
    const struct {
        double from;
        int direction;
        double to;
    } steps[] = {{1.0, 1, 1.5}, {1.0, -1, 0.75}, {0.3, -1, 0.25}, {8.0, 1, 8.0}, {0.25, -1, 0.25}};
    for (const auto& step : steps) {
        view->setZoom(step.from);
        view->zoomStep(step.direction);
        EXPECT_DOUBLE_EQ(view->zoom(), step.to) << step.from << " " << step.direction;
    }

    // At 50 % a drag of 10 screen pixels moves the button by 20 frame pixels.
    view->resize(600, 400);
    view->setZoom(0.5);
    const Point before = doc.currentFrame.nextButton.pos;
    const QPoint grip = view->toWidget(QRect(before.x + 4, before.y + 4, 1, 1)).topLeft();
    drag(grip, grip + QPoint(-10, -6));
    EXPECT_EQ(doc.currentFrame.nextButton.pos, (Point{before.x - 20, before.y - 12}));

    view->run(cmd::ZoomFit);
    EXPECT_TRUE(view->fitsWindow());
    EXPECT_DOUBLE_EQ(view->zoom(), 1.0);  // a frame smaller than the window is never enlarged
}

}  // namespace
}  // namespace quib

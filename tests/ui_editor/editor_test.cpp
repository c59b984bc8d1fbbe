#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <memory>
#include <vector>

#include "../ui/ui_test_support.h"
#include "model/frame_clipboard.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "support/project_contents.h"
#include "ui/command_ids.h"
#include "ui/editor_clipboard.h"
#include "ui/element_tracker.h"
#include "ui/project_info_dialog.h"
#include "ui/quib_view.h"

namespace quib::test {

// A shown editor over a three-frame project of 320 x 240 with a known layout on its first frame:
// cursor at (40, 40), text box (160, 120, 288, 180) with a callout, Next button at (250, 200),
// title (20, 8, 300, 36), the picture filling the canvas.
struct EditorFixture : WithApplication, ::testing::Test {
    EditorFixture() {
        EXPECT_TRUE(buildSyntheticProject(doc, 320, 240, 3));
        FrameElements& f = doc.currentFrame;
        f.cursorVisible = 1;
        f.cursorPos = Point{40, 40};
        f.textBox.visible = 1;
        f.textBox.rect = Rect{160, 120, 288, 180};
        f.textBox.calloutName = "Fumetto";
        f.nextButton.visible = 1;
        f.nextButton.pos = Point{250, 200};
        f.prevButton.visible = 0;
        f.gotoButtons[0].visible = f.gotoButtons[1].visible = 0;
        doc.titles.enabled = 1;
        doc.titles.rect = Rect{20, 8, 300, 36};
        doc.elementsChanged = true;
        doc.SelectFrame(doc.currentFrameIndex, true);
        doc.SetModifiedFlag(false);
        view = std::make_unique<CQuibView>(doc);
        view->setCommandPoster([this](int id) { posted.push_back(id); });
        view->setIndicatorSink([this](const QString& text) { indicator = text; });
        view->resize(600, 400);
        view->show();
        doc.addObserver(&recorder);
    }
    ~EditorFixture() override { doc.removeObserver(&recorder); }

    // A canvas point in the view's coordinates.
    QPoint at(int x, int y) const { return view->canvasRect().topLeft() + QPoint(x, y); }

    void press(QPoint p, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view.get(), Qt::LeftButton, modifiers, p);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view.get(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(view.get(), to);
        QTest::mouseRelease(view.get(), Qt::LeftButton, modifiers, to);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(view.get(), k, modifiers); }

    CQuibDoc doc;
    std::unique_ptr<CQuibView> view;
    HintRecorder recorder;
    std::vector<int> posted;
    QString indicator;
};

}  // namespace quib::test

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

TEST_F(EditorMouseTest, HandlesResizeButNeverPastTheOppositeEdgeNorTheCanvasEdge) {
    doc.currentFrame.nextButton.visible = 0;
    view->setSelection(selitem::TextBox);
    const QPoint handle = at(288 + 3, 180 + 3);
    drag(handle, handle + QPoint(10, 20));
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 298, 200}));
    drag(at(298 + 3, 200 + 3), at(100, 100));
    EXPECT_EQ(doc.currentFrame.textBox.rect, (Rect{160, 120, 160, 120}));
    EXPECT_TRUE(recorder.heard(hint::Buttons));
    // Resizing stops at the canvas edge.
    view->setSelection(selitem::Title);
    drag(at(300 + 3, 20), at(900, 20));
    EXPECT_EQ(doc.titles.rect, (Rect{20, 8, 320, 36}));
}

TEST_F(EditorMouseTest, DoubleClickAndInsertPostTheirCommandsAndHoverShowsTheHandle) {
    view->setSelection(selitem::NextButton);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(255, 205));
    view->setSelection(selitem::TextBox);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(200, 150));
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, at(100, 150));
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, at(100, 150));
    key(Qt::Key_Insert);
    EXPECT_EQ(posted, (std::vector<int>{cmd::NextButtonImage, cmd::ChooseCallout, cmd::InsertFrames}));
    view->setSelection(selitem::TextBox);
    QTest::mouseMove(view.get(), at(288 + 3, 180 + 3));
    EXPECT_EQ(view->cursor().shape(), Qt::SizeFDiagCursor);
}

TEST_F(EditorKeyTest, ArrowsMoveTheBlockToTheCanvasEdgeAndShiftArrowsTheTextBoxEdges) {
    view->setSelection(selitem::Cursor | selitem::NextButton);
    const int w = doc.buttonImages.images[ButtonImageSet::Next].width;
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(doc.currentFrame.nextButton.pos.x, 320 - w);
    EXPECT_EQ(doc.currentFrame.cursorPos.x, 40 + (320 - w - 250));
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
}

// Select all sets every bit; hidden elements leave the selection when the view is notified.
TEST_F(EditorKeyTest, SelectAllAndHiddenElementsLeaveTheSelection) {
    view->run(cmd::EditSelectAll);
    EXPECT_EQ(view->selection(), 0xFFu);
    EXPECT_EQ(indicator, QString());
    view->setSelection(selitem::Cursor | selitem::TextBox);
    doc.currentFrame.cursorVisible = 0;
    doc.UpdateAllViews(hint::Cursor);
    EXPECT_EQ(view->selection(), selitem::TextBox);
}

TEST_F(EditorPaintTest, TheCanvasShowsTheComposedPictureTheMarginAndTheSelectedHandles) {
    const QImage shot = view->grab().toImage();
    EXPECT_EQ(view->canvasRect(), QRect(140, 80, 320, 240));
    EXPECT_EQ(shot.pixelColor(5, 5), CQuibView::marginColor());
    const uint8_t* p = doc.currentImage.pixel(200, 100);
    EXPECT_EQ(shot.pixelColor(at(200, 100)), QColor(p[2], p[1], p[0]));

    // A selected text box shows its handles.
    const QPoint handle = at(288 + 3, 180 + 3);
    EXPECT_NE(shot.pixelColor(handle), QColor(Qt::black));
    view->setSelection(selitem::TextBox);
    EXPECT_EQ(view->grab().toImage().pixelColor(handle), QColor(Qt::black));
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

TEST(ElementTracker, KeptInsideGoesBottomTopLeftRight) {
    const Size canvas{100, 50};
    EXPECT_EQ(ElementTracker::keptInside(Rect{90, 45, 110, 60}, canvas), (Rect{80, 35, 100, 50}));
    EXPECT_EQ(ElementTracker::keptInside(Rect{-5, -7, 5, 3}, canvas), (Rect{0, 0, 10, 10}));
}

using EditorClipboardTest = test::EditorFixture;

// A picture whose every pixel tells its own position.
QImage positionPicture(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF));
    return picture;
}

QColor pixelOf(const Bitmap24& image, int x, int y) {
    const uint8_t* p = image.pixel(x, y);
    return QColor(p[2], p[1], p[0]);
}

void putPicture(const QImage& picture) {
    auto* data = new QMimeData;
    data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
}

// Frames in the clipboard, as a copy from a strip leaves them.
void putFrames(const std::vector<uint8_t>& bytes) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kFrameFormatMime),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

TEST_F(EditorClipboardTest, PastingABitmap_FillsTheFrameFromTheTopLeftAndCutsWhatIsLarger) {
    putPicture(positionPicture(400, 300));
    ASSERT_TRUE(view->enabled(cmd::EditPaste));
    view->run(cmd::EditPaste);
    EXPECT_EQ(doc.frameSize, (Size{320, 240}));
    EXPECT_EQ(pixelOf(doc.currentImage, 319, 239), QColor(319 & 0xFF, 239, (319 + 239) & 0xFF));
    EXPECT_EQ(pixelOf(doc.currentImage, 100, 50), QColor(100, 50, 150));
    EXPECT_TRUE(recorder.heard(hint::CurrentPicture));
    EXPECT_EQ(doc.commands.undoName(), "Incolla immagine");
    ASSERT_TRUE(doc.commands.undo(doc));
    EXPECT_NE(pixelOf(doc.currentImage, 100, 50), QColor(100, 50, 150));

    // A smaller bitmap leaves the rest of the picture.
    const QColor outside = pixelOf(doc.currentImage, 200, 200);
    putPicture(positionPicture(50, 40));
    view->run(cmd::EditPaste);
    EXPECT_EQ(pixelOf(doc.currentImage, 49, 39), QColor(49, 39, 88));
    EXPECT_EQ(pixelOf(doc.currentImage, 200, 200), outside);
}

TEST(EditorPasteIntoEmptyProject, CreatesAFirstFrameOfTheBitmapsSize) {
    test::ensureApplication();
    CQuibDoc doc;
    doc.InitNewProject();
    CQuibView view(doc);
    view.resize(300, 200);
    putPicture(positionPicture(50, 40));
    view.run(cmd::EditPaste);
    ASSERT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(doc.backgroundSize, (Size{50, 40}));
    EXPECT_EQ(view.canvasRect().size(), QSize(50, 40));
    // The picture reaches the stored frame once it is committed.
    doc.SelectFrame(0, true);
    EXPECT_EQ(pixelOf(doc.currentImage, 10, 20), QColor(10, 20, 30));
}

TEST_F(EditorClipboardTest, CopiedElements_PastedOnAnotherFrame_RestoreThem_AndCutHides) {
    doc.currentFrame.textBox.text = "Premete OK";
    const FrameElements original = doc.currentFrame;
    view->setSelection(selitem::TextBox | selitem::NextButton);
    view->run(cmd::EditCopy);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(kSelItemsFormatMime)));
    ASSERT_TRUE(doc.SelectFrame(1));
    view->setSelection(0);
    view->run(cmd::EditPaste);
    EXPECT_EQ(doc.currentFrame.textBox, original.textBox);
    EXPECT_EQ(doc.currentFrame.nextButton.pos, original.nextButton.pos);
    EXPECT_EQ(view->selection(), selitem::TextBox | selitem::NextButton);
    doc.SelectFrame(0);
    EXPECT_EQ(test::frameElements(doc, 1).textBox.text, "Premete OK");

    view->setSelection(selitem::Cursor);
    view->run(cmd::EditCut);
    EXPECT_EQ(doc.currentFrame.cursorVisible, 0u);
    EXPECT_EQ(view->selection(), 0u);
}

TEST_F(EditorClipboardTest, CopyWithNothingOrTheFrameImageSelectedGivesTheFramePictureMergedTheCanvas) {
    // The frame image selected counts as nothing selected.
    view->setSelection(selitem::FrameImage | selitem::Cursor);
    view->run(cmd::EditCopy);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasImage());
    EXPECT_FALSE(data->hasFormat(QString::fromLatin1(kSelItemsFormatMime)));
    const QImage copied = data->imageData().value<QImage>();
    ASSERT_EQ(copied.size(), QSize(320, 240));
    EXPECT_EQ(copied.pixelColor(123, 45), pixelOf(doc.currentImage, 123, 45));
    // Copy merged gives the whole composed canvas, the Next button drawn over the picture.
    view->run(cmd::CopyMerged);
    const QImage picture = QApplication::clipboard()->mimeData()->imageData().value<QImage>();
    ASSERT_EQ(picture.size(), QSize(320, 240));
    const Bitmap32& next = doc.buttonImages.images[ButtonImageSet::Next];
    const uint8_t* b = next.pixel(30, 12);
    ASSERT_EQ(b[3], 255);
    EXPECT_EQ(picture.pixelColor(280, 212), QColor(b[2], b[1], b[0]));
}

TEST_F(EditorClipboardTest, PastedFramesGoInFrontOfTheCurrentFrameAndKeepItsPendingEdits) {
    putFrames(CopyFramesToClipboardFile(doc, {2}));
    ASSERT_TRUE(doc.SelectFrame(1));
    doc.currentFrame.title = "edited";
    doc.currentImage.pixel(0, 0)[0] = 0x5A;
    doc.elementsChanged = doc.imageChanged = true;
    view->run(cmd::EditPaste);
    ASSERT_EQ(doc.frameCount(), 4);
    EXPECT_EQ(test::frameElements(doc, 1).title, "Frame 3");
    EXPECT_TRUE(recorder.heard(hint::FramesInserted));
    ASSERT_TRUE(doc.SelectFrame(2));
    EXPECT_EQ(doc.currentFrame.title, "edited");
    EXPECT_EQ(doc.currentImage.pixel(0, 0)[0], 0x5A);
}

TEST(ProjectInformation, ShowsNameFolderSizesPaletteAndFrameCount) {
    test::ensureApplication();
    CQuibDoc doc;
    ASSERT_TRUE(buildSyntheticProject(doc, 64, 48, 4));
    doc.setPathName("/home/utente/progetti/tutorial/demo.qbk");
    ProjectInfo info = projectInfo(doc);
    EXPECT_EQ(info.fileName, QStringLiteral("demo.qbk"));
    EXPECT_EQ(info.folder, QStringLiteral("/home/utente/progetti/tutorial"));
    EXPECT_EQ(info.canvasSize, QString());
    EXPECT_EQ(info.frameSize, QStringLiteral("64 x 48"));
    EXPECT_EQ(info.usesPalette, QStringLiteral("No"));
    EXPECT_EQ(info.frameCount, QStringLiteral("4"));

    doc.backgroundImage = Bitmap24(100, 80);
    doc.backgroundSize = Size{100, 80};
    doc.settings.usePalette = 1;
    info = projectInfo(doc);
    EXPECT_EQ(info.canvasSize, QStringLiteral("100 x 80"));
    EXPECT_EQ(info.usesPalette, QStringLiteral("Si"));
    const ProjectInfoDialog dialog(info);
    EXPECT_EQ(dialog.fieldText(333), QStringLiteral("/home/utente/progetti/tutorial"));
    EXPECT_EQ(dialog.fieldText(334), QStringLiteral("100 x 80"));

    // A long folder is shortened in the middle.
    MiddleElidedLabel label;
    const QString folder =
        QStringLiteral("/home/utente/una/cartella/molto/molto/lunga/per/il/progetto/finale");
    label.setFullText(folder);
    label.resize(label.fontMetrics().horizontalAdvance(folder) / 2, 20);
    const QString shown = label.displayedText();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("finale")));
    label.resize(label.fontMetrics().horizontalAdvance(folder) + 10, 20);
    EXPECT_EQ(label.displayedText(), folder);
}

}  // namespace
}  // namespace quib

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMimeData>

#include "editor_test_support.h"
#include "model/frame_clipboard.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/editor_clipboard.h"
#include "ui/main_frame.h"
#include "ui/project_info_dialog.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"
#include "ui/status_bar.h"

namespace quib {
namespace {

using EditorClipboardTest = test::EditorFixture;
using EditorCommandTest = test::EditorFixture;

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
    EXPECT_EQ(pixelOf(doc.currentImage, 0, 0), QColor(0, 0, 0));
    EXPECT_EQ(pixelOf(doc.currentImage, 319, 239), QColor(319 & 0xFF, 239, (319 + 239) & 0xFF));
    EXPECT_EQ(pixelOf(doc.currentImage, 100, 50), QColor(100, 50, 150));
    EXPECT_TRUE(doc.isModified());
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
    EXPECT_EQ(doc.currentFrameIndex, 0);
    EXPECT_EQ(doc.frameSize, (Size{50, 40}));
    EXPECT_EQ(doc.backgroundSize, (Size{50, 40}));
    EXPECT_EQ(pixelOf(doc.currentImage, 49, 39), QColor(49, 39, 88));
    EXPECT_EQ(doc.currentFrame.textBox.visible, 0u);
    EXPECT_EQ(view.canvasRect().size(), QSize(50, 40));
    // The picture reaches the stored frame once it is committed.
    doc.SelectFrame(0, true);
    EXPECT_EQ(pixelOf(doc.currentImage, 10, 20), QColor(10, 20, 30));
}

TEST_F(EditorClipboardTest, CopiedElements_PastedOnAnotherFrame_RestoreThem) {
    doc.currentFrame.textBox.text = "Premete OK";
    const FrameElements original = doc.currentFrame;
    view->setSelection(selitem::TextBox | selitem::NextButton);
    view->run(cmd::EditCopy);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(kSelItemsFormatMime)));
    EXPECT_FALSE(data->hasImage());

    ASSERT_TRUE(doc.SelectFrame(1));
    view->setSelection(0);
    EXPECT_NE(doc.currentFrame.textBox, original.textBox);
    view->run(cmd::EditPaste);
    EXPECT_EQ(doc.currentFrame.textBox, original.textBox);
    EXPECT_EQ(doc.currentFrame.nextButton.pos, original.nextButton.pos);
    EXPECT_EQ(view->selection(), selitem::TextBox | selitem::NextButton);
    doc.SelectFrame(0);
    FrameElements stored;
    doc.GetFrame(1, stored);
    EXPECT_EQ(stored.textBox.text, "Premete OK");
}

TEST_F(EditorClipboardTest, CopyWithNothingOrTheFrameImageSelected_GivesTheFramePicture) {
    for (uint32_t selection : {0u, selitem::FrameImage | selitem::Cursor}) {
        view->setSelection(selection);
        view->run(cmd::EditCopy);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        ASSERT_TRUE(data->hasImage());
        EXPECT_FALSE(data->hasFormat(QString::fromLatin1(kSelItemsFormatMime)));
        const QImage picture = data->imageData().value<QImage>();
        ASSERT_EQ(picture.size(), QSize(320, 240));
        EXPECT_EQ(picture.pixelColor(123, 45), pixelOf(doc.currentImage, 123, 45));
    }
}

TEST_F(EditorClipboardTest, CutCopiesThenHides) {
    view->setSelection(selitem::Cursor);
    view->run(cmd::EditCut);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kSelItemsFormatMime)));
    EXPECT_EQ(doc.currentFrame.cursorVisible, 0u);
    EXPECT_EQ(view->selection(), 0u);
}

TEST_F(EditorClipboardTest, CopyMerged_GivesTheWholeComposedCanvas) {
    view->run(cmd::CopyMerged);
    const QImage picture = QApplication::clipboard()->mimeData()->imageData().value<QImage>();
    ASSERT_EQ(picture.size(), QSize(320, 240));
    // The Next button is drawn over the picture.
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
    FrameElements inserted;
    doc.GetFrame(1, inserted);
    EXPECT_EQ(inserted.title, "Frame 3");
    EXPECT_TRUE(recorder.heard(hint::FramesInserted));
    ASSERT_TRUE(doc.SelectFrame(2));
    EXPECT_EQ(doc.currentFrame.title, "edited");
    EXPECT_EQ(doc.currentImage.pixel(0, 0)[0], 0x5A);
}

TEST_F(EditorCommandTest, SelectAllSetsEveryBit) {
    view->run(cmd::EditSelectAll);
    EXPECT_EQ(view->selection(), 0xFFu);
    EXPECT_EQ(indicator, QString());
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

    ProjectInfoDialog dialog(info);
    EXPECT_EQ(dialog.fieldText(205), QStringLiteral("demo.qbk"));
    EXPECT_EQ(dialog.fieldText(333), QStringLiteral("/home/utente/progetti/tutorial"));
    EXPECT_EQ(dialog.fieldText(334), QStringLiteral("100 x 80"));
    EXPECT_EQ(dialog.fieldText(335), QStringLiteral("64 x 48"));
    EXPECT_EQ(dialog.fieldText(316), QStringLiteral("Si"));
    EXPECT_EQ(dialog.fieldText(1143), QStringLiteral("4"));
}

TEST(ProjectInformation, ALongFolderIsShortenedInTheMiddle) {
    test::ensureApplication();
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

// The editor inside the main window: the status bar pane and the posted commands.
struct EditorInMainWindowTest : test::WithApplication, ::testing::Test {
    EditorInMainWindowTest() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.resize(1000, 700);
        frame.show();
        frame.addProjectWindow(QuibProjectDocument::createNew());
    }
    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
};

TEST_F(EditorInMainWindowTest, CopyAndPasteRouteToTheEditor) {
    EXPECT_EQ(frame.router().handlerFor(cmd::CopyMerged),
              dynamic_cast<CommandHandler*>(frame.activeChild()->editorView()));
    EXPECT_EQ(frame.router().handlerFor(cmd::ProjectInfo),
              dynamic_cast<CommandHandler*>(frame.activeChild()->editorView()));
}

}  // namespace
}  // namespace quib

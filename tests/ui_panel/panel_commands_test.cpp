#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QToolButton>

#include "base/progress.h"
#include "base/strings.h"
#include "model/frame_clipboard.h"
#include "model/project_storage.h"
#include "panel_test_support.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/cursor_commands.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"

namespace quib {
namespace {

using PanelCommandTest = test::PanelFixture;
using PanelProjectTest = test::PanelFixture;

TextFont serifFont() {
    TextFont font;
    font.logFont.setFace("DejaVu Serif");
    font.logFont.height = -22;
    font.logFont.weight = 700;
    font.color = rgb(200, 10, 20);
    font.align = 0;  // not taken: the alignment has its own command
    return font;
}

TEST_F(PanelCommandTest, DifferentFontsOrCalloutsShowTheirMultipleTexts) {
    Frame changed;
    changed.assignElements(frame(2));
    changed.textBox.font = serifFont();
    changed.textBox.calloutName = "Nota";
    doc.SetFrame(2, changed, false);
    select({1, 2}, 1);
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1154))->text(), QStringLiteral("<Multiple Fonts>"));
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1157))->text(), QStringLiteral("<Multiple Callouts>"));
}

TEST_F(PanelCommandTest, TheAlignmentChosenGoesToEverySelectedFrame) {
    select({2, 3}, 3);
    const uint32_t before = frame(3).textBox.font.align;
    auto* button = qobject_cast<QToolButton*>(panel->control(CPropertiesPanel::AlignTextCommand));
    const qint64 iconBefore = button->icon().cacheKey();
    fakes.align = 1;
    panel->run(CPropertiesPanel::AlignTextCommand);
    EXPECT_NE(button->icon().cacheKey(), iconBefore);
    EXPECT_EQ(fakes.alignStart, before);
    EXPECT_EQ(frame(2).textBox.font.align, 1u);
    EXPECT_EQ(frame(3).textBox.font.align, 1u);
    EXPECT_EQ(frame(1).textBox.font.align, FrameElements().textBox.font.align);
    EXPECT_EQ(recorder.last(), hint::TextFont);
}

TEST_F(PanelCommandTest, ChoosingACursorGivesItToEverySelectedFrame) {
    EXPECT_TRUE(panel->handles(cmd::ChooseCursor));
    selected = {0, 1};
    ASSERT_TRUE(panel->enabled(cmd::ChooseCursor));
    CursorPicture chosen;
    chosen.image = Bitmap32(5, 7);
    for (size_t i = 0; i < chosen.image.pixels.size(); i += 4) {
        chosen.image.pixels[i] = 0x30;
        chosen.image.pixels[i + 3] = 0xFF;
    }
    setCursorChooser([&](const CursorPicture&, QWidget*) { return std::optional<CursorPicture>(chosen); });
    panel->run(cmd::ChooseCursor);
    setCursorChooser({});
    for (int i : {0, 1}) {
        FrameElements frame;
        doc.GetFrame(i, frame);
        EXPECT_EQ(frame.cursorWidth, 5) << i;
        EXPECT_EQ(frame.cursorHeight, 7) << i;
        EXPECT_EQ(doc.frameCursorImage(i).pixel(2, 3)[0], 0x30) << i;
    }
    EXPECT_TRUE(doc.isModified());
}

TEST_F(PanelCommandTest, PictureButtonsPostTheirCommands) {
    EXPECT_FALSE(panel->handles(cmd::BackgroundImage));
    EXPECT_FALSE(panel->control(cmd::BackgroundImage)->isEnabled());
    std::vector<int> posted;
    panel->setCommandPoster([&](int id) { posted.push_back(id); });
    ASSERT_TRUE(panel->control(cmd::NextButtonImage)->isEnabled());
    click(panel->control(cmd::NextButtonImage));
    EXPECT_EQ(posted, std::vector<int>{cmd::NextButtonImage});
}

TEST_F(PanelCommandTest, EditCommandsFocusTheFieldAndSelectAllItsText) {
    panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    panel->run(cmd::EditText);
    EXPECT_TRUE(textField()->hasFocus());
    EXPECT_EQ(textField()->textCursor().selectedText(), QString::fromStdString(frame(0).textBox.text));
    panel->run(cmd::EditTitle);
    EXPECT_TRUE(edit(600)->hasFocus());
    EXPECT_EQ(edit(600)->selectedText(), QString::fromStdString(frame(0).title));
}

TEST_F(PanelCommandTest, TheTitleFontAndAlignmentChangeTheProjectsTitles) {
    fakes.font = serifFont();
    panel->run(CPropertiesPanel::TitleFontCommand);
    EXPECT_EQ(doc.titles.font.logFont, serifFont().logFont);
    EXPECT_EQ(doc.titles.font.color, rgb(200, 10, 20));
    EXPECT_EQ(recorder.last(), hint::TitleOrImagePosition);
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1158))->text(), QStringLiteral("DejaVu Serif"));
    fakes.align = 2;
    panel->run(CPropertiesPanel::TitleAlignCommand);
    EXPECT_EQ(doc.titles.font.align, 2u);
    EXPECT_EQ(recorder.last(), hint::TitleOrImagePosition);
    EXPECT_EQ(frame(0).textBox.font.align, FrameElements().textBox.font.align);
}

TEST_F(PanelProjectTest, TitleFieldsChangeTheProjectsTitles) {
    typeInto(edit(1150), QStringLiteral("280"));
    EXPECT_EQ(doc.titles.rect.right, 280);
    EXPECT_EQ(recorder.last(), hint::TitleOrImagePosition);
    click(check(323));
    EXPECT_EQ(doc.titles.enabled, 0u);
    EXPECT_EQ(recorder.last(), hint::TitlesOnOff);
    EXPECT_FALSE(edit(1150)->isEnabled());
    EXPECT_FALSE(edit(600)->isEnabled());
    EXPECT_TRUE(doc.isModified());
}

TEST_F(PanelProjectTest, TheFramePositionNeedsABackgroundPicture) {
    EXPECT_FALSE(edit(309)->isEnabled());
    EXPECT_FALSE(check(324)->isEnabled());
    EXPECT_EQ(check(324)->checkState(), Qt::Unchecked);
    doc.backgroundImage = Bitmap24(400, 300);
    doc.backgroundSize = Size{400, 300};
    doc.UpdateAllViews(hint::Canvas);
    EXPECT_TRUE(edit(309)->isEnabled());
    EXPECT_EQ(check(324)->checkState(), Qt::Checked);
    typeInto(edit(309), QStringLiteral("30"));
    typeInto(edit(311), QStringLiteral("-4"));
    EXPECT_EQ(doc.frameOrigin, (Point{30, 0}));
    EXPECT_EQ(recorder.last(), hint::TitleOrFramePosition);
    // The frame picture stays on the canvas: 400 - 320.
    typeInto(edit(309), QStringLiteral("500"));
    EXPECT_EQ(doc.frameOrigin.x, 80);
}

TEST_F(PanelProjectTest, UncheckingTheBackgroundAsksFirst) {
    doc.backgroundImage = Bitmap24(400, 300);
    doc.backgroundSize = Size{400, 300};
    doc.frameOrigin = Point{40, 30};
    doc.UpdateAllViews(hint::Canvas);
    const Point cursor = frame(2).cursorPos;
    fakes.yes = false;
    click(check(324));
    EXPECT_EQ(fakes.question, QString::fromUtf8(stringText(str::RemoveBackground)));
    EXPECT_EQ(check(324)->checkState(), Qt::Checked);
    EXPECT_FALSE(doc.backgroundImage.isNull());
    EXPECT_EQ(doc.frameOrigin, (Point{40, 30}));

    recorder.hints.clear();
    fakes.yes = true;
    click(check(324));
    EXPECT_TRUE(doc.backgroundImage.isNull());
    EXPECT_EQ(doc.backgroundSize, doc.frameSize);
    EXPECT_EQ(doc.frameOrigin, (Point{0, 0}));
    EXPECT_EQ(frame(2).cursorPos, (Point{cursor.x - 40, cursor.y - 30}));
    EXPECT_TRUE(recorder.heard(hint::Canvas));
    EXPECT_EQ(check(324)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(check(324)->isEnabled());
    EXPECT_FALSE(edit(309)->isEnabled());
    EXPECT_TRUE(doc.isModified());
}

// The panel inside the main window over an open project, as the application shows it.
struct PanelInWindowTest : test::WithApplication, ::testing::Test {
    PanelInWindowTest() : frame(settings, temp.store()) {
        frame.setMessageFunction([](const QString&) {});
        installProjectDocument(frame);
        frame.resize(1100, 800);
        panel = dynamic_cast<CPropertiesPanel*>(frame.propertiesPanel()->widget());
    }

    bool openProject() {
        CQuibDoc source;
        if (!buildSyntheticProject(source, 320, 240, 3))
            return false;
        const QString path = QDir(temp.folder()).filePath(QStringLiteral("panel.qbk"));
        NullProgress progress;
        // The installed panel follows the project window that opens.
        return SaveProject(path.toStdString(), source, progress).ok() && frame.openProject(path) && panel &&
               panel->document() ==
                   &dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc();
    }

    static bool clipboardHas(const char* mime) {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return data && data->hasFormat(QString::fromLatin1(mime));
    }

    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
    CPropertiesPanel* panel = nullptr;
};

TEST_F(PanelInWindowTest, ClipboardKeysInThePanelsFieldsWorkOnTextNotFrames) {
    ASSERT_TRUE(openProject());
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    auto* list = qobject_cast<QListWidget*>(frame.activeChild()->thumbnailView());
    list->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(clipboardHas(kFrameFormatMime)) << "Ctrl+C should copy frames from the strip";

    auto* text = qobject_cast<QPlainTextEdit*>(panel->control(228));
    text->setFocus();
    text->selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), text->toPlainText());
    EXPECT_FALSE(clipboardHas(kFrameFormatMime));
    EXPECT_FALSE(clipboardHas(kSelItemsFormatMime));

    auto* title = qobject_cast<QLineEdit*>(panel->control(600));
    title->setFocus();
    title->selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(title, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), title->text());
    EXPECT_FALSE(clipboardHas(kFrameFormatMime));

    // Ctrl+V in the title pastes text, not frames.
    title->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("Incollato"));
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(title->text(), QStringLiteral("Incollato"));
    EXPECT_EQ(panel->document()->currentFrame.title, "Incollato");
    EXPECT_EQ(panel->document()->frameCount(), 3);
}

TEST_F(PanelInWindowTest, EditTextShowsAHiddenPanelFirst) {
    ASSERT_TRUE(openProject());
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.propertiesPanel()->hide();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.router().dispatch(cmd::EditText));
    EXPECT_TRUE(frame.propertiesPanel()->isVisible());
    EXPECT_TRUE(panel->control(228)->hasFocus());
}

TEST_F(PanelInWindowTest, ClosingTheProjectWindowLeavesThePanelEmpty) {
    ASSERT_TRUE(openProject());
    ASSERT_NE(panel->document(), nullptr);
    frame.router().dispatch(cmd::FileClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(frame.childFrames().isEmpty());
    EXPECT_EQ(panel->document(), nullptr);
    EXPECT_FALSE(panel->control(600)->isEnabled());
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QFont>
#include <QFontDialog>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QToolButton>
#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "../ui/main_window_fixture.h"
#include "base/strings.h"
#include "model/frame_clipboard.h"
#include "model/text_fit.h"
#include "panel_test_support.h"
#include "ui/command_ids.h"
#include "ui/cursor_commands.h"
#include "ui/font_colour_dialog.h"
#include "ui/move_elements_dialog.h"
#include "ui/panel_choices.h"
#include "ui/panel_fields.h"
#include "ui/project_settings_dialog.h"

namespace quib {
namespace {

using PanelCommandTest = test::PanelFixture;

TEST_F(PanelCommandTest, DifferentFontsOrCalloutsShowTheirMultipleTexts) {
    Frame changed;
    changed.assignElements(frame(2));
    changed.textBox.font = test::serifFont();
    changed.textBox.calloutName = "Nota";
    doc.SetFrame(2, changed, false);
    select({1, 2}, 1);
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1154))->text(), QStringLiteral("<Multiple Fonts>"));
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1157))->text(), QStringLiteral("<Multiple Callouts>"));
}

TEST_F(PanelCommandTest, TheAlignmentChosenGoesToEverySelectedFrame) {
    select({2, 3}, 3);
    const uint32_t before = frame(3).textBox.font.align;
    fakes.align = 1;
    panel->run(CPropertiesPanel::AlignTextCommand);
    EXPECT_EQ(fakes.alignStart, before);
    EXPECT_EQ(frame(2).textBox.font.align, 1u);
    EXPECT_EQ(frame(3).textBox.font.align, 1u);
    EXPECT_EQ(recorder.last(), hint::TextFont);
}

TEST_F(PanelCommandTest, ChoosingACursorGivesItToEverySelectedFrame) {
    selected = {0, 1};
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
        EXPECT_EQ(frame(i).cursorHeight, 7) << i;
        EXPECT_EQ(doc.frameCursorImage(i).pixel(2, 3)[0], 0x30) << i;
    }
    EXPECT_TRUE(doc.isModified());
}

TEST_F(PanelCommandTest, PictureButtonsPostTheirCommands) {
    std::vector<int> posted;
    panel->setCommandPoster([&](int id) { posted.push_back(id); });
    click(panel->control(cmd::NextButtonImage));
    EXPECT_EQ(posted, std::vector<int>{cmd::NextButtonImage});
}

TEST_F(PanelCommandTest, TheTitleFontAlignmentAndFieldsChangeTheProjectsTitles) {
    fakes.font = test::serifFont();
    panel->run(CPropertiesPanel::TitleFontCommand);
    EXPECT_EQ(doc.titles.font.logFont, test::serifFont().logFont);
    EXPECT_EQ(doc.titles.font.color, rgb(200, 10, 20));
    EXPECT_EQ(qobject_cast<QLabel*>(panel->control(1158))->text(), QStringLiteral("DejaVu Serif"));
    fakes.align = 2;
    panel->run(CPropertiesPanel::TitleAlignCommand);
    EXPECT_EQ(doc.titles.font.align, 2u);
    EXPECT_EQ(frame(0).textBox.font.align, FrameElements().textBox.font.align);
    // So do the title fields.
    typeInto(edit(1150), QStringLiteral("280"));
    EXPECT_EQ(doc.titles.rect.right, 280);
    EXPECT_EQ(recorder.last(), hint::TitleOrImagePosition);
    click(check(323));
    EXPECT_EQ(doc.titles.enabled, 0u);
    EXPECT_EQ(recorder.last(), hint::TitlesOnOff);
    EXPECT_FALSE(edit(600)->isEnabled());
}

TEST_F(PanelCommandTest, TheFramePositionNeedsABackgroundPictureWhoseRemovalIsAsked) {
    EXPECT_FALSE(edit(309)->isEnabled());
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

    // Unchecking the background asks first.
    doc.frameOrigin = Point{40, 30};
    doc.SetModifiedFlag(false);
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
    EXPECT_FALSE(edit(309)->isEnabled());
    EXPECT_TRUE(doc.isModified());
}

// The panel inside the main window over an open project, as the application shows it.
struct PanelInWindowTest : test::MainWindowFixture {
    PanelInWindowTest() {
        frame.resize(1100, 800);
        panel = dynamic_cast<CPropertiesPanel*>(frame.propertiesPanel()->widget());
        EXPECT_TRUE(frame.openProject(writeProject(QStringLiteral("panel.qbk"), 3, 320, 240)));
        EXPECT_EQ(panel->document(), &doc()) << "the installed panel follows the project window that opens";
    }

    static bool clipboardHas(const char* mime) {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return data && data->hasFormat(QString::fromLatin1(mime));
    }

    CPropertiesPanel* panel = nullptr;
};

TEST_F(PanelInWindowTest, ClipboardKeysInThePanelsFieldsWorkOnTextAndEditTextShowsThePanel) {
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

    // Ctrl+V in the title pastes text, not frames.
    auto* title = qobject_cast<QLineEdit*>(panel->control(600));
    title->setFocus();
    title->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("Incollato"));
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(panel->document()->currentFrame.title, "Incollato");
    EXPECT_EQ(panel->document()->frameCount(), 3);

    // Edit text shows a hidden panel first.
    frame.propertiesPanel()->hide();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.router().dispatch(cmd::EditText));
    EXPECT_TRUE(frame.propertiesPanel()->isVisible());
    EXPECT_TRUE(panel->control(228)->hasFocus());
}

TEST_F(PanelInWindowTest, ClosingTheProjectWindowLeavesThePanelEmpty) {
    frame.router().dispatch(cmd::FileClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(frame.childFrames().isEmpty());
    EXPECT_EQ(panel->document(), nullptr);
    EXPECT_FALSE(panel->control(600)->isEnabled());
}

// A go-to button leading before the first frame or past the last has a note under it.
TEST_F(PanelCommandTest, GotoTargetOutsideTheProjectIsMarked) {
    for (auto [offset, marked] : {std::pair{0, false}, {-2, true}, {3, true}, {2, false}, {-1, false}}) {
        Frame f;
        doc.GetFrame(1, f);
        f.gotoButtons[0] = NavButton{1, Point{10, 10}, offset};
        f.gotoButtons[1] = NavButton{0, Point{10, 10}, 9};
        doc.SetFrame(1, f, false);
        select({1}, 1);
        const auto* first = panel->findChild<QLabel*>(QStringLiteral("gotoOutside1"));
        const auto* second = panel->findChild<QLabel*>(QStringLiteral("gotoOutside2"));
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->isVisible(), marked) << offset;
        EXPECT_FALSE(second->isVisible());  // hidden buttons are not marked
    }
}

TEST_F(PanelCommandTest, TypingInTheTextFieldChangesEverySelectedFramesText) {
    select({0, 1, 2}, 0);
    EXPECT_EQ(textField()->toPlainText(), QString());  // the texts differ
    const std::string untouched = frame(3).textBox.text;
    typeInto(textField(), QStringLiteral("Ciao"));
    for (int i : {0, 1, 2})
        EXPECT_EQ(frame(i).textBox.text, "Ciao") << i;
    EXPECT_EQ(frame(3).textBox.text, untouched);
    EXPECT_EQ(doc.frames[0].textBox.text, "Ciao");  // stored, not only in the working copy
    EXPECT_TRUE(recorder.heard(hint::TextBoxVisibility));
}

// Text typed past the box's bottom makes the box taller; what the canvas cannot hold is marked.
TEST_F(PanelCommandTest, TextThatRunsPastItsBoxGrowsItOrIsMarked) {
    const Callout& callout = *library.FindCallout(frame(1).textBox.calloutName);
    select({1}, 1);
    const Rect before = frame(1).textBox.rect;
    typeInto(textField(), QString(QStringLiteral("parola ")).repeated(3));
    const TextBox grown = frame(1).textBox;
    EXPECT_GT(grown.rect.bottom, before.bottom);
    EXPECT_EQ(grown.rect.top, before.top);
    EXPECT_TRUE(textFitsBox(grown, callout));
    TextBox shorter = grown;
    --shorter.rect.bottom;
    EXPECT_FALSE(textFitsBox(shorter, callout));  // no taller than it must be
    EXPECT_TRUE(panel->control(32911)->isHidden());

    textField()->setPlainText(QString(QStringLiteral("parola ")).repeated(40));
    EXPECT_EQ(frame(1).textBox.rect.bottom, doc.backgroundSize.cy);
    EXPECT_FALSE(panel->control(32911)->isHidden());
}

TEST_F(PanelCommandTest, TheLayoutSwitchHidesTheAdvancedFieldsAndIsKeptInTheSettings) {
    panel->run(cmd::PanelSimple);
    EXPECT_TRUE(panel->checked(cmd::PanelSimple));
    EXPECT_FALSE(panel->checked(cmd::PanelAdvanced));
    EXPECT_FALSE(edit(1163)->isVisible());
    EXPECT_TRUE(edit(600)->isVisible());
    panel->run(cmd::PanelAdvanced);
    EXPECT_TRUE(edit(1163)->isVisible());

    // The choice is kept in the settings, and read from them.
    AppSettings settings;
    settings.propertiesPanelViewMode = 0;
    panel->setSettings(&settings);
    EXPECT_FALSE(edit(1163)->isVisible());
    panel->run(cmd::PanelAdvanced);
    EXPECT_EQ(settings.propertiesPanelViewMode, 1);
    panel->run(cmd::PanelSimple);
    EXPECT_EQ(settings.propertiesPanelViewMode, 0);
}

TEST_F(PanelCommandTest, TheDefaultStyleComesFromOneFrameAndGoesToEveryFrame) {
    Frame styled;
    styled.assignElements(frame(1));
    styled.textBox.font.logFont.setFace("DejaVu Serif");
    styled.textBox.font.logFont.height = -21;
    styled.textBox.calloutName = library.at(1).name;
    doc.SetFrame(1, styled, false);
    select({1}, 1);
    panel->run(CPropertiesPanel::UseAsDefaultStyleCommand);
    EXPECT_EQ(doc.settings.textStyle.font, styled.textBox.font);
    EXPECT_EQ(doc.settings.textStyle.calloutName, library.at(1).name);

    select({3}, 3);  // one frame selected: every frame
    panel->run(CPropertiesPanel::ApplyDefaultStyleCommand);
    for (int i = 0; i < doc.frameCount(); ++i) {
        EXPECT_EQ(frame(i).textBox.font, styled.textBox.font) << i;
        EXPECT_EQ(frame(i).textBox.calloutName, library.at(1).name) << i;
    }
}

// Decimals with blanks and a sign are read; negative or unreadable input is 0; huge input stops at
// the largest value. Setting a field changes only that field.
TEST(PanelFields, NumbersAreReadAsTypedWithinRangeAndSettingAFieldChangesOnlyIt) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12}, {"  40 ", 40}, {"+7", 7},    {"007", 7}, {"-3", 0},
        {"-", 0},   {"", 0},       {"12abc", 0}, {"abc", 0}, {"-99999999999999999999999", 0}};
    for (auto [text, value] : cases)
        EXPECT_EQ(parseFieldNumber(text), value) << text;
    EXPECT_EQ(parseFieldNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("5000", 1000), 1000);

    FrameElements before;
    before.textBox.rect = Rect{1, 2, 3, 4};
    before.gotoButtons[1].pos = Point{5, 6};
    before.displayTime = 100;
    for (int f = 0; f < field::Count; ++f) {
        FrameElements frame = before;
        const std::string value = field::isCheck(f) ? "1" : field::isText(f) ? "neu" : "77";
        setFieldValue(frame, f, value, nullptr);
        EXPECT_EQ(fieldValue(frame, f), value) << f;
        EXPECT_EQ(frame.textBox.calloutName, "") << f << ": without callouts a shown box gets none";
        for (int other = 0; other < field::Count; ++other) {
            if (other != f) {
                EXPECT_EQ(fieldValue(frame, other), fieldValue(before, other)) << f << " changed " << other;
            }
        }
    }
}

TEST_F(PanelCommandTest, SelectionIsCleanedAndFallsBackToTheCurrentFrame) {
    EXPECT_EQ(validSelection(doc, {3, -1, 1, 9, 3}), (std::vector<int>{1, 3}));
    doc.SelectFrame(2);
    EXPECT_EQ(validSelection(doc, {}), (std::vector<int>{2}));
    EXPECT_EQ(validSelection(doc, {7}), (std::vector<int>{2}));
}

// Font and colour are chosen in one dialog; the callout's colour stays until a colour is picked.
TEST(FontColourDialogTest, OneDialogGivesFaceSizeAndColour) {
    test::ensureApplication();
    TextFont start = TextStyle::standardTextFont();
    start.align = uint32_t(TextAlign::Right);
    FontColourDialog dialog(start, rgb(1, 2, 3));
    EXPECT_EQ(dialog.colour(), QColor(1, 2, 3));
    EXPECT_EQ(dialog.chosen().color, kCalloutTextColour);
    EXPECT_EQ(dialog.chosen().logFont, start.logFont);

    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(12);
    dialog.fontChooser()->setCurrentFont(serif);
    ASSERT_EQ(dialog.swatchCount(), 16);
    dialog.swatch(4)->click();
    const TextFont chosen = dialog.chosen();
    EXPECT_EQ(chosen.logFont.face(), "DejaVu Serif");
    EXPECT_EQ(chosen.logFont.height, -16);  // 12 points at 96 dpi
    EXPECT_EQ(chosen.color, rgb(0xC0, 0, 0));
    EXPECT_EQ(chosen.align, uint32_t(TextAlign::Right));
}

// One edit made through the panel or a project command, on the frames selected.
struct HistoryCase {
    const char* label;
    std::vector<int> selection;
    std::function<void(test::PanelFixture&)> edit;
    const char* step;
};

void PrintTo(const HistoryCase& c, std::ostream* os) {
    *os << c.label;
}

struct PanelHistoryTest : test::PanelFixture, ::testing::WithParamInterface<HistoryCase> {};

const std::vector<HistoryCase> kCases{
    {"TextThreeFrames",
     {0, 1, 2},
     [](auto& f) { f.typeInto(f.textField(), QStringLiteral("Ciao")); },
     "Modifica testo"},
    {"FontTwoFrames",
     {1, 2},
     [](auto& f) {
         f.fakes.font = test::serifFont();
         f.panel->run(cmd::ChooseFont);
     },
     "Cambia carattere"},
    {"NextButtonTwoFrames", {1, 2}, [](auto& f) { f.click(f.check(1152)); }, "Mostra pulsante"},
    {"GotoTarget",
     {3},
     [](auto& f) {
         f.fakes.frame = 1;
         f.panel->run(cmd::GotoTarget1);
     },
     "Cambia destinazione"},
    {"TitleTwoFrames",
     {0, 2},
     [](auto& f) { f.typeInto(f.edit(600), QStringLiteral("Inizio")); },
     "Modifica titolo"},
    {"TitleArea", {0}, [](auto& f) { f.typeInto(f.edit(305), QStringLiteral("7")); }, "Impostazioni titolo"},
    {"MoveAllElements",
     {1, 2},
     [](auto& f) { moveAllElements(f.doc, 5, -3, &f.selected); },
     "Sposta tutti gli elementi"},
    {"UseAsDefaultStyle",
     {1},
     [](auto& f) { f.panel->run(CPropertiesPanel::UseAsDefaultStyleCommand); },
     "Usa come stile predefinito"},
    {"ApplyDefaultStyleToTwo",
     {0, 2},
     [](auto& f) { f.panel->run(CPropertiesPanel::ApplyDefaultStyleCommand); },
     "Applica lo stile predefinito"},
    {"ProjectSettings",
     {0},
     [](auto& f) {
         runProjectSettings(f.doc, nullptr, [](OutputSettings& settings, const QString&) {
             settings.frameRate = 12;
             settings.usePalette = !settings.usePalette;
             return true;
         });
     },
     "Impostazioni progetto"},
};

// Each edit is one named step; undoing it gives back the very file the project was, redoing
// it the file it became.
TEST_P(PanelHistoryTest, OneStepThatUndoAndRedoGiveBackWhole) {
    const HistoryCase& c = GetParam();
    select(c.selection, c.selection.front());
    const size_t steps = doc.commands.count();
    const std::vector<uint8_t> before = test::projectFileBytes(doc);
    c.edit(*this);
    EXPECT_EQ(doc.commands.count(), steps + 1);
    EXPECT_EQ(doc.commands.undoName(), c.step);
    EXPECT_TRUE(doc.isModified());
    const std::vector<uint8_t> after = test::projectFileBytes(doc);
    ASSERT_NE(after, before);
    ASSERT_TRUE(doc.commands.undo(doc));
    EXPECT_EQ(test::projectFileBytes(doc), before);
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.commands.redo(doc));
    EXPECT_EQ(test::projectFileBytes(doc), after);
}

INSTANTIATE_TEST_SUITE_P(PanelEdits, PanelHistoryTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDialog>
#include <QToolButton>
#include <climits>

#include "../ui/ui_test_support.h"
#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "ui/background_removal.h"
#include "ui/font_colour_dialog.h"
#include "ui/move_elements_dialog.h"
#include "ui/panel_choices.h"
#include "ui/panel_fields.h"

namespace quib {
namespace {

TEST(PanelFieldNumbers, ReadDecimalsWithBlanksAndASign) {
    EXPECT_EQ(parseFieldNumber("12"), 12);
    EXPECT_EQ(parseFieldNumber("  40 "), 40);
    EXPECT_EQ(parseFieldNumber("+7"), 7);
    EXPECT_EQ(parseFieldNumber("007"), 7);
}

TEST(PanelFieldNumbers, NegativeOrUnreadableInputIsZero) {
    EXPECT_EQ(parseFieldNumber("-3"), 0);
    EXPECT_EQ(parseFieldNumber("-"), 0);
    EXPECT_EQ(parseFieldNumber(""), 0);
    EXPECT_EQ(parseFieldNumber("12abc"), 0);
    EXPECT_EQ(parseFieldNumber("abc"), 0);
    EXPECT_EQ(parseFieldNumber("-99999999999999999999999"), 0);
}

TEST(PanelFieldNumbers, HugeInputStopsAtTheLargestValue) {
    EXPECT_EQ(parseFieldNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("5000", 1000), 1000);
}

TEST(PanelFields, ControlIdsAndFieldsMapBothWays) {
    const int controls[field::Count] = {318,  321,  1152, 1159, 1153, 1162, 228,  240,
                                        242,  1148, 1149, 1163, 1164, 1155, 1156, 1166,
                                        1167, 1160, 1161, 1170, 1171, 600,  1168};
    for (int f = 0; f < field::Count; ++f) {
        EXPECT_EQ(fieldControlId(f), controls[f]) << f;
        EXPECT_EQ(controlField(controls[f]), f) << f;
    }
    EXPECT_EQ(controlField(324), -1);
    EXPECT_EQ(fieldControlId(field::Count), -1);
}

TEST(PanelFields, EveryFieldSendsItsHint) {
    const int hints[field::Count] = {6, 4,  11, 11, 11, 11, 6,  7,  7,  7,  7, 5,
                                     5, 11, 11, 11, 11, 11, 11, 11, 11, 13, 14};
    for (int f = 0; f < field::Count; ++f)
        EXPECT_EQ(fieldHint(f), hints[f]) << f;
}

TEST(PanelFields, SettingAFieldChangesOnlyThatField) {
    FrameElements before;
    before.textBox.rect = Rect{1, 2, 3, 4};
    before.gotoButtons[1].pos = Point{5, 6};
    before.displayTime = 100;
    for (int f = 0; f < field::Count; ++f) {
        FrameElements frame = before;
        const std::string value = field::isCheck(f) ? "1" : field::isText(f) ? "neu" : "77";
        setFieldValue(frame, f, value, nullptr);
        EXPECT_EQ(fieldValue(frame, f), value) << f;
        for (int other = 0; other < field::Count; ++other) {
            if (other != f) {
                EXPECT_EQ(fieldValue(frame, other), fieldValue(before, other)) << f << " changed " << other;
            }
        }
    }
}

TEST(PanelFields, NegativeCoordinatesAndTimeBecomeZero) {
    FrameElements frame;
    frame.nextButton.pos = Point{50, 60};
    frame.displayTime = 900;
    setFieldValue(frame, field::NextX, "-20", nullptr);
    setFieldValue(frame, field::DisplayTime, "-1", nullptr);
    EXPECT_EQ(frame.nextButton.pos.x, 0);
    EXPECT_EQ(frame.displayTime, 0u);
}

TEST(PanelFields, ShowingTheTextBoxTakesTheFirstCalloutOnlyWhenTheFrameHasNone) {
    const CalloutLibrary library = defaultCalloutLibrary();
    FrameElements bare;
    setFieldValue(bare, field::TextBoxVisible, "1", &library);
    EXPECT_EQ(bare.textBox.calloutName, library.at(0).name);

    FrameElements named;
    named.textBox.calloutName = "Nota";
    setFieldValue(named, field::TextBoxVisible, "1", &library);
    EXPECT_EQ(named.textBox.calloutName, "Nota");

    FrameElements hiding;
    setFieldValue(hiding, field::TextBoxVisible, "0", &library);
    EXPECT_EQ(hiding.textBox.calloutName, "");

    const CalloutLibrary empty;
    FrameElements withoutLibrary;
    setFieldValue(withoutLibrary, field::TextBoxVisible, "1", &empty);
    EXPECT_EQ(withoutLibrary.textBox.visible, 1u);
    EXPECT_EQ(withoutLibrary.textBox.calloutName, "");
}

struct SummaryTest : test::WithApplication, ::testing::Test {
    SummaryTest() { EXPECT_TRUE(buildSyntheticProject(doc, 320, 240, 4)); }
    CQuibDoc doc;
};

TEST_F(SummaryTest, SelectionIsCleanedAndFallsBackToTheCurrentFrame) {
    EXPECT_EQ(validSelection(doc, {3, -1, 1, 9, 3}), (std::vector<int>{1, 3}));
    doc.SelectFrame(2);
    EXPECT_EQ(validSelection(doc, {}), (std::vector<int>{2}));
    EXPECT_EQ(validSelection(doc, {7}), (std::vector<int>{2}));
}

TEST_F(SummaryTest, ValuesThatDifferBetweenTheSelectedFramesAreMixed) {
    const SelectionSummary summary = summarizeSelection(doc, {1, 2});
    EXPECT_TRUE(summary.mixed(field::Text));
    EXPECT_TRUE(summary.mixed(field::Title));
    EXPECT_TRUE(summary.mixed(field::CursorX));
    EXPECT_FALSE(summary.mixed(field::DisplayTime));
    EXPECT_EQ(summary.values[field::DisplayTime], "2000");
    EXPECT_TRUE(summary.checked(field::TextBoxVisible));
    EXPECT_EQ(summary.calloutName, "Fumetto a sinistra");
    ASSERT_TRUE(summary.font.has_value());
}

TEST_F(SummaryTest, TheWorkingCopyIsWhatTheCurrentFrameShows) {
    doc.SelectFrame(1);
    doc.currentFrame.displayTime = 50;
    const SelectionSummary summary = summarizeSelection(doc, {1, 2});
    EXPECT_TRUE(summary.mixed(field::DisplayTime));
    EXPECT_EQ(summarizeSelection(doc, {1}).values[field::DisplayTime], "50");
}

TEST_F(SummaryTest, CalloutsAndFontsDifferByNameByRecordOrByColour) {
    FrameElements f;
    doc.GetFrame(2, f);
    Frame changed;
    changed.assignElements(f);
    changed.textBox.font.color = 0x123456;
    doc.SetFrame(2, changed, false);
    EXPECT_FALSE(summarizeSelection(doc, {1, 2}).font.has_value());
    EXPECT_TRUE(summarizeSelection(doc, {1, 2}).calloutName.has_value());

    changed.textBox.font = FrameElements().textBox.font;
    changed.textBox.font.color = f.textBox.font.color;
    changed.textBox.calloutName = "Nota";
    doc.SetFrame(2, changed, false);
    EXPECT_FALSE(summarizeSelection(doc, {1, 2}).font.has_value());
    EXPECT_FALSE(summarizeSelection(doc, {1, 2}).calloutName.has_value());
}

TEST_F(SummaryTest, MovingAllElementsMovesEveryFrameTheTitleAndTheOrigin) {
    doc.frameOrigin = Point{10, 20};
    const FrameElements before = [&] {
        FrameElements f;
        doc.GetFrame(3, f);
        return f;
    }();
    const Rect title = doc.titles.rect;
    moveAllElements(doc, -10, -20, nullptr);
    FrameElements after;
    doc.GetFrame(3, after);
    EXPECT_EQ(doc.frameOrigin, (Point{0, 0}));
    EXPECT_EQ(doc.titles.rect, (Rect{title.left - 10, title.top - 20, title.right - 10, title.bottom - 20}));
    EXPECT_EQ(after.cursorPos, (Point{before.cursorPos.x - 10, before.cursorPos.y - 20}));
    EXPECT_EQ(after.textBox.rect.left, before.textBox.rect.left - 10);
    EXPECT_EQ(after.textBox.rect.bottom, before.textBox.rect.bottom - 20);
    EXPECT_EQ(after.prevButton.pos, (Point{before.prevButton.pos.x - 10, before.prevButton.pos.y - 20}));
    EXPECT_EQ(after.gotoButtons[0].pos,
              (Point{before.gotoButtons[0].pos.x - 10, before.gotoButtons[0].pos.y - 20}));
    EXPECT_EQ(after.gotoButtons[0].targetOffset, before.gotoButtons[0].targetOffset);
    EXPECT_TRUE(doc.isModified());
}

TEST(PanelFontRecord, ChosenFontBecomesAPixelHeightRecord) {
    test::ensureApplication();
    LogFont base;
    base.charSet = 1;
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(20);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    const LogFont record = logFontFromFont(font, base);
    EXPECT_EQ(record.face(), "DejaVu Serif");
    EXPECT_EQ(record.height, -20);
    EXPECT_EQ(record.weight, 700);
    EXPECT_EQ(record.italic, 1);
    EXPECT_EQ(record.underline, 1);
    EXPECT_EQ(record.strikeOut, 0);
    EXPECT_EQ(record.charSet, 1);

    QFont points(QStringLiteral("DejaVu Sans"));
    points.setPointSize(12);
    EXPECT_EQ(logFontFromFont(points, base).height, -16);
}

// Font and colour are chosen in one dialog; the callout's colour stays until a colour is picked.
TEST(FontColourDialogTest, OneDialogGivesFaceSizeAndColour) {
    test::ensureApplication();
    TextFont start = TextStyle::standardTextFont();
    start.align = uint32_t(TextAlign::Right);
    FontColourDialog dialog(start, rgb(1, 2, 3));
    EXPECT_EQ(dialog.colour(), QColor(1, 2, 3));
    EXPECT_EQ(dialog.chosen().color, kCalloutTextColour);
    EXPECT_FALSE(dialog.fontChooser()->currentFont().italic());  // the face's upright style
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

}  // namespace
}  // namespace quib

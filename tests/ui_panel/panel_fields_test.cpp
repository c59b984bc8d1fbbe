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

// Decimals with blanks and a sign are read; negative or unreadable input is 0; huge input stops at
// the largest value.
TEST(PanelFieldNumbers, ReadAsTypedWithinZeroAndTheLargestValue) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12}, {"  40 ", 40}, {"+7", 7},    {"007", 7}, {"-3", 0},
        {"-", 0},   {"", 0},       {"12abc", 0}, {"abc", 0}, {"-99999999999999999999999", 0}};
    for (auto [text, value] : cases)
        EXPECT_EQ(parseFieldNumber(text), value) << text;
    EXPECT_EQ(parseFieldNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(parseFieldNumber("5000", 1000), 1000);
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

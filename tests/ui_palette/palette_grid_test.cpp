#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "../ui/ui_test_support.h"
#include "palette_test_support.h"
#include "ui/palette_edit_state.h"
#include "ui/palette_swatch_grid.h"

namespace quib {
namespace {

// A palette of count entries whose red byte is the index, the fourth byte 255.
Palette rampPalette(int count) {
    Palette palette;
    for (int i = 0; i < count; ++i)
        palette.entries[size_t(i)] = PaletteEntry{uint8_t(i), uint8_t(255 - i), 7, 255};
    palette.count = count;
    return palette;
}

PaletteEditState stateWithSelection(int count, int selected) {
    PaletteEditState state(rampPalette(count));
    state.select(selected);
    return state;
}

TEST(PaletteCells, EveryCellIsFoundAtItsCentreAndNothingOutside) {
    const QRect area(3, 4, 250, 170);
    for (int k = 0; k < 256; ++k)
        EXPECT_EQ(PaletteSwatchGrid::cellAt(area, PaletteSwatchGrid::cellRect(area, k).center()), k);
    EXPECT_EQ(PaletteSwatchGrid::cellAt(area, QPoint(2, 50)), -1);
    EXPECT_EQ(PaletteSwatchGrid::cellAt(area, QPoint(100, 174)), -1);
}

TEST(PaletteSelection, UpFromCellSixteenSelectsCellZero) {
    PaletteEditState state = stateWithSelection(40, 16);
    EXPECT_TRUE(state.moveSelection(-16));
    EXPECT_EQ(state.selected(), 0);
    EXPECT_FALSE(state.moveSelection(-16));
    EXPECT_FALSE(state.moveSelection(-1));
    EXPECT_EQ(state.selected(), 0);
    PaletteEditState none(rampPalette(40));
    EXPECT_FALSE(none.moveSelection(1));
    EXPECT_EQ(none.selected(), -1);
}

TEST(PaletteSelection, DownFromCountLessSixteenIsRefused) {
    PaletteEditState state = stateWithSelection(40, 40 - 16);
    EXPECT_FALSE(state.moveSelection(16));
    EXPECT_EQ(state.selected(), 24);
    EXPECT_TRUE(state.moveSelection(15));
    EXPECT_EQ(state.selected(), 39);
    EXPECT_FALSE(state.moveSelection(1));
}

TEST(PaletteRemoval, FirstEntryIsNeverRemoved) {
    PaletteEditState state = stateWithSelection(5, 0);
    EXPECT_FALSE(state.removeSelected());
    EXPECT_EQ(state.count(), 5);
    PaletteEditState none(rampPalette(5));
    EXPECT_FALSE(none.removeSelected());
}

TEST(PaletteColour, EditKeepsTheFourthByte) {
    Palette palette = rampPalette(3);
    palette.entries[1].flags = 0;
    PaletteEditState state(palette);
    EXPECT_TRUE(state.setColour(1, 200, 100, 50));
    EXPECT_EQ(state.entry(1), (PaletteEntry{200, 100, 50, 0}));
    EXPECT_FALSE(state.setColour(3, 1, 2, 3));
}

TEST(PaletteReplace, EmptyPaletteChangesNothing) {
    PaletteEditState state = stateWithSelection(8, 3);
    EXPECT_FALSE(state.replace(std::vector<PaletteEntry>{}));
    EXPECT_EQ(state.palette(), rampPalette(8));
    EXPECT_TRUE(state.replace(std::vector<PaletteEntry>{{1, 2, 3, 255}, {4, 5, 6, 255}}));
    EXPECT_EQ(state.count(), 2);
    EXPECT_EQ(state.selected(), 1);
}

// The grid at a size where every cell is 16 pixels square.
struct PaletteGridWidget : test::WithApplication, ::testing::Test {
    PaletteGridWidget() : state(rampPalette(20)), grid(state) {
        const int frame = grid.frameWidth();
        grid.setFixedSize(256 + 2 * frame, 256 + 2 * frame);
        grid.setChangeCallback([this] { ++changes; });
        grid.setEditCallback([this](int index) { edited.push_back(index); });
        grid.show();
        grid.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
    }
    QPoint centreOf(int index) const { return PaletteSwatchGrid::cellRect(grid.cellArea(), index).center(); }

    PaletteEditState state;
    PaletteSwatchGrid grid;
    int changes = 0;
    std::vector<int> edited;
};

TEST_F(PaletteGridWidget, KeysMoveAndDeleteWhileTheGridHasTheFocus) {
    QTest::mouseClick(&grid, Qt::LeftButton, {}, centreOf(17));
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(state.selected(), 1);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(state.selected(), 2);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(state.selected(), 18);
    QTest::keyClick(&grid, Qt::Key_Down);  // cell 34 is blank
    EXPECT_EQ(state.selected(), 18);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(state.count(), 19);
    EXPECT_EQ(state.entry(18).red, 19);
}

TEST_F(PaletteGridWidget, DoubleClickOnTheSelectedCellAsksForAnEdit) {
    QTest::mouseClick(&grid, Qt::LeftButton, {}, centreOf(7));
    QTest::mouseDClick(&grid, Qt::LeftButton, {}, centreOf(7));
    QTest::mouseDClick(&grid, Qt::LeftButton, {}, centreOf(100));
    EXPECT_EQ(edited, std::vector<int>{7});
}

TEST_F(PaletteGridWidget, EntriesAreDrawnInTheirColourAndTheRestStaysBlank) {
    state.select(2);
    const QImage picture = grid.grab().toImage();
    EXPECT_EQ(picture.pixelColor(centreOf(4)), QColor(4, 251, 7));
    EXPECT_EQ(picture.pixelColor(centreOf(19)), QColor(19, 236, 7));
    const QColor blank = picture.pixelColor(centreOf(20));
    EXPECT_EQ(blank, picture.pixelColor(centreOf(255)));
    EXPECT_NE(blank, QColor(20, 235, 7));
    // The highlight frame of the selected cell.
    const QRect selected = PaletteSwatchGrid::cellRect(grid.cellArea(), 2);
    EXPECT_EQ(picture.pixelColor(selected.topLeft()), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(selected.topLeft() + QPoint(1, 1)), QColor(Qt::white));
}

}  // namespace
}  // namespace quib

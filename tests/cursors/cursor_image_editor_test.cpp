#include <gtest/gtest.h>

#include <string>

#include "cursor_test_support.h"
#include "cursors/cursor_image_editor.h"

namespace quib {
namespace {

using test::solidCursor;

const CursorColour kBlack = CursorColour::rgb(0, 0, 0);
const CursorColour kWhite = CursorColour::rgb(255, 255, 255);
const CursorColour kRed = CursorColour::rgb(255, 0, 0);
const CursorColour kClear = CursorColour::clear();

// An editor over a w x h picture, every pixel transparent.
CursorImageEditor emptyEditor(int w, int h) {
    return CursorImageEditor(CursorPicture{test::solidPicture32(w, h, 1, 1, 1, 0), {2, 3}});
}

// One text row per picture row: '.' transparent, 'K' black, 'W' white, 'R' red, '?' other.
std::string rows(const CursorImageEditor& editor) {
    std::string text;
    for (int y = 0; y < editor.height(); ++y) {
        for (int x = 0; x < editor.width(); ++x) {
            const CursorColour c = editor.colourAt({x, y});
            text += c.transparent ? '.' : c == kBlack ? 'K' : c == kWhite ? 'W' : c == kRed ? 'R' : '?';
        }
        text += '\n';
    }
    return text;
}

void drag(CursorImageEditor& editor, CursorTool tool, Point from, Point to, CursorColour colour = kBlack) {
    editor.setTool(tool);
    editor.press(from, colour, kWhite);
    editor.moveTo(to);
    editor.release();
}

// The pen sets only the pixels passed over; rectangles include both corners; ellipses are
// inscribed in the box.
TEST(CursorEditorTools, DraggedShapesSetTheirPixels) {
    const struct {
        CursorTool tool;
        int w, h;
        Point from, to;
        const char* rows;
    } cases[] = {
        {CursorTool::Pen, 5, 1, {0, 0}, {4, 0}, "K...K\n"},
        {CursorTool::Rectangle, 5, 4, {3, 2}, {0, 0}, "KKKK.\nK..K.\nKKKK.\n.....\n"},
        {CursorTool::FilledRectangle, 3, 3, {0, 1}, {1, 2}, "...\nKK.\nKK.\n"},
        {CursorTool::Ellipse, 5, 5, {0, 0}, {4, 4}, ".KKK.\nK...K\nK...K\nK...K\n.KKK.\n"},
        {CursorTool::FilledEllipse, 5, 5, {0, 0}, {4, 4}, ".KKK.\nKKKKK\nKKKKK\nKKKKK\n.KKK.\n"},
    };
    for (const auto& c : cases) {
        CursorImageEditor editor = emptyEditor(c.w, c.h);
        drag(editor, c.tool, c.from, c.to);
        EXPECT_EQ(rows(editor), c.rows) << int(c.tool);
    }
}

TEST(CursorEditorTools, FillCountsTransparentPixelsAsTheScreenColour) {
    CursorImageEditor editor = emptyEditor(4, 3);
    drag(editor, CursorTool::Line, {2, 0}, {2, 2});
    editor.setTool(CursorTool::Fill);
    editor.press({0, 0}, kRed, kWhite);
    editor.release();
    EXPECT_EQ(rows(editor), "RRK.\nRRK.\nRRK.\n");

    // A pixel painted in the screen colour joins the transparent area.
    CursorImageEditor screen = emptyEditor(3, 1);
    screen.setScreenColour(kWhite);
    screen.press({2, 0}, kWhite, kBlack);
    screen.release();
    screen.setTool(CursorTool::Fill);
    screen.press({0, 0}, kRed, kBlack);
    screen.release();
    EXPECT_EQ(rows(screen), "RRR\n");
}

TEST(CursorEditorTools, EraserReplacesOnlyTheOtherButtonsColour) {
    CursorImageEditor editor(solidCursor(3, 1, 255, 255, 255));
    editor.press({0, 0}, kBlack, kWhite);  // pen: make the first pixel black
    editor.release();
    editor.setTool(CursorTool::Eraser);
    editor.press({0, 0}, kRed, kWhite);
    editor.moveTo({1, 0});
    editor.moveTo({2, 0});
    editor.release();
    EXPECT_EQ(rows(editor), "KRR\n");
}

}  // namespace
}  // namespace quib

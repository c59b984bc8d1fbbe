#include <gtest/gtest.h>

#include "raster/gui_application.h"
#include "shapes/wrapped_text.h"

using namespace quib;
using namespace quib::raster;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// A white surface with a crisp 16-pixel font, and helpers that find the ink of each text line.
class WrappedText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }

    void prepare(int w, int h) {
        image = QImage(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        dc = std::make_unique<DrawContext>(image);
        LogFont font;
        font.setFace("DejaVu Sans");
        font.height = -16;
        dc->setFont(font);
        dc->setTextAntialiasing(false);
        dc->setBackgroundMode(BackgroundMode::Transparent);
        lineHeight = dc->textExtent(" ").cy;
    }
    int width(const char* text) { return dc->textExtent(text).cx; }

    // Leftmost and rightmost inked columns of text line `line` (-1 when it holds no ink).
    std::pair<int, int> inkOfLine(int top, int line) {
        int left = -1, right = -1;
        for (int y = top + line * lineHeight; y < std::min(image.height(), top + (line + 1) * lineHeight);
             ++y)
            for (int x = 0; x < image.width(); ++x)
                if (dc->pixel(x, y) != kWhite) {
                    if (left < 0 || x < left)
                        left = x;
                    right = std::max(right, x);
                }
        return {left, right};
    }
    bool lineHasInk(int top, int line) { return inkOfLine(top, line).first >= 0; }

    QImage image;
    std::unique_ptr<DrawContext> dc;
    int lineHeight = 0;
};

}  // namespace

TEST_F(WrappedText, WrapsAfterTheLastWordThatFits) {
    prepare(400, 100);
    const Rect rect{10, 0, 10 + width("uno due") + 2, 100};
    DrawWrappedText(*dc, "uno due tre", rect, 0);
    EXPECT_TRUE(lineHasInk(0, 0));
    auto second = inkOfLine(0, 1);
    EXPECT_GE(second.first, 10);
    EXPECT_LE(second.second, 10 + width("tre")) << "only the third word moves down";
    EXPECT_FALSE(lineHasInk(0, 2));
}

TEST_F(WrappedText, LineFeedsEndLinesAndRepeatedOnesAddEmptyLines) {
    prepare(200, 200);
    DrawWrappedText(*dc, "a\n\nb", Rect{0, 0, 200, 200}, 0);
    EXPECT_TRUE(lineHasInk(0, 0));
    EXPECT_FALSE(lineHasInk(0, 1));
    EXPECT_TRUE(lineHasInk(0, 2));
    prepare(200, 200);
    DrawWrappedText(*dc, "a\r\nb\rc", Rect{0, 0, 200, 200}, 0);
    EXPECT_TRUE(lineHasInk(0, 0));
    EXPECT_TRUE(lineHasInk(0, 1));
    EXPECT_TRUE(lineHasInk(0, 2)) << "a lone CR ends a line too";
    EXPECT_FALSE(lineHasInk(0, 3)) << "CR LF is one line end";
}

TEST_F(WrappedText, WordWiderThanTheBoxIsBrokenAndTheRestStillLaidOut) {
    prepare(300, 300);
    const int w = width("WWW") + 2;
    ASSERT_LT(w, width("WWWW"));
    DrawWrappedText(*dc, "WWWWWWWWW xyz", Rect{0, 0, w, 300}, 0);
    for (int line = 0; line < 3; ++line) {
        auto ink = inkOfLine(0, line);
        EXPECT_GE(ink.first, 0) << line;
        EXPECT_LT(ink.second, w) << "a broken word stays inside the box";
    }
    EXPECT_TRUE(lineHasInk(0, 3)) << "the text after the long word";
    EXPECT_FALSE(lineHasInk(0, 4));
}

TEST_F(WrappedText, TheFourAlignments) {
    const Rect rect{20, 10, 220, 100};
    for (uint32_t align : {0u, 1u, 2u, 3u}) {
        prepare(240, 100);
        const int w = width("ab");
        DrawWrappedText(*dc, "ab", rect, align);
        auto ink = inkOfLine(10, 0);
        ASSERT_GE(ink.first, 0) << align;
        switch (align) {
            case 0:
            case 3:  // a last line stays left-aligned
                EXPECT_NEAR(ink.first, rect.left, 2) << align;
                break;
            case 1:
                EXPECT_NEAR(ink.first, (rect.left + rect.right - w) / 2, 2);
                break;
            case 2:
                EXPECT_NEAR(ink.second, rect.right - 1, 2);
                break;
        }
    }
}

TEST_F(WrappedText, JustifiedWrappedLinesSpanTheWidthAndTheLastDoesNot) {
    prepare(400, 200);
    const Rect rect{5, 0, 5 + width("uno due tre quattro") + 10, 200};
    DrawWrappedText(*dc, "uno due tre quattro cinque sei", rect, 3);
    auto first = inkOfLine(0, 0);
    EXPECT_NEAR(first.first, rect.left, 2);
    EXPECT_NEAR(first.second, rect.right - 1, 2);
    auto last = inkOfLine(0, 1);
    EXPECT_LT(last.second, rect.right - 20);
}

TEST_F(WrappedText, LinesBelowTheRectangleAreNotDrawn) {
    prepare(200, 200);
    DrawWrappedText(*dc, "1\n2\n3\n4", Rect{0, 0, 200, lineHeight + lineHeight / 2}, 0);
    EXPECT_TRUE(lineHasInk(0, 0));
    EXPECT_TRUE(lineHasInk(0, 1)) << "a line that starts inside is drawn";
    EXPECT_FALSE(lineHasInk(0, 2));
}

TEST_F(WrappedText, LongTextsAreLaidOutToTheEnd) {
    std::string text;
    for (int i = 0; i < 1100; ++i)
        text += "a\n";
    text += "fine";
    prepare(60, 1102 * 20);
    ASSERT_LE(lineHeight, 20);
    DrawWrappedText(*dc, text, Rect{0, 0, 60, image.height()}, 0);
    EXPECT_TRUE(lineHasInk(0, 1100));
}

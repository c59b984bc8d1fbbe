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

#include <gtest/gtest.h>

#include "raster/draw_context.h"
#include "raster/gui_application.h"

using namespace quib;
using namespace quib::raster;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

QImage whiteSurface(int w, int h, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(QColor(255, 255, 255));
    return image;
}

int countColour(DrawContext& dc, uint32_t colour, const Rect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += dc.pixel(x, y) == colour;
    return n;
}

class DrawContextText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
};

}  // namespace

TEST(DrawContextShapes, RectangleOutlineCoversLeftTopAndExcludesRightBottom) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setPen(Pen::solid(kRed));
    dc.setBrush(Brush::hollowBrush());
    dc.rectangle(Rect{2, 3, 10, 12});
    EXPECT_EQ(dc.pixel(2, 3), kRed);
    EXPECT_EQ(dc.pixel(9, 3), kRed);
    EXPECT_EQ(dc.pixel(2, 11), kRed);
    EXPECT_EQ(dc.pixel(9, 11), kRed);
    EXPECT_EQ(dc.pixel(10, 3), kWhite);
    EXPECT_EQ(dc.pixel(2, 12), kWhite);
    EXPECT_EQ(dc.pixel(5, 6), kWhite) << "a hollow brush leaves the inside alone";
    EXPECT_EQ(countColour(dc, kRed, Rect{0, 0, 20, 20}), 2 * 8 + 2 * 7);
}

TEST(DrawContextShapes, SolidBrushFillsInside) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setPen(Pen::solid(kRed));
    dc.setBrush(Brush::solid(kBlue));
    dc.rectangle(Rect{0, 0, 10, 10});
    EXPECT_EQ(dc.pixel(0, 0), kRed);
    EXPECT_EQ(dc.pixel(5, 5), kBlue);
    EXPECT_EQ(dc.pixel(10, 10), kWhite);
}

TEST(DrawContextShapes, DashedPenLeavesGapsAndOpaqueModeFillsThem) {
    for (BackgroundMode mode : {BackgroundMode::Transparent, BackgroundMode::Opaque}) {
        QImage image = whiteSurface(100, 3);
        image.fill(QColor(0, 255, 0));
        DrawContext dc(image);
        dc.setBackgroundMode(mode);
        dc.setBackgroundColour(kBlue);
        dc.setPen(Pen{PenStyle::Dash, 1, kRed});
        dc.line(Point{0, 1}, Point{96, 1});
        int red = countColour(dc, kRed, Rect{0, 1, 96, 2});
        int blue = countColour(dc, kBlue, Rect{0, 1, 96, 2});
        EXPECT_EQ(red, 72) << "18 on, 6 off";
        EXPECT_EQ(dc.pixel(0, 1), kRed);
        EXPECT_NE(dc.pixel(20, 1), kRed);
        EXPECT_EQ(blue, mode == BackgroundMode::Opaque ? 24 : 0);
    }
}

TEST(DrawContextShapes, DottedPenAlternatesThreePixels) {
    QImage image = whiteSurface(30, 1);
    DrawContext dc(image);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.setPen(Pen{PenStyle::Dot, 1, kRed});
    dc.line(Point{0, 0}, Point{24, 0});
    EXPECT_EQ(dc.pixel(0, 0), kRed);
    EXPECT_EQ(dc.pixel(2, 0), kRed);
    EXPECT_EQ(dc.pixel(3, 0), kWhite);
    EXPECT_EQ(dc.pixel(5, 0), kWhite);
    EXPECT_EQ(dc.pixel(6, 0), kRed);
}

TEST(DrawContextShapes, PolylineJoinsItsPoints) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setPen(Pen::solid(kRed));
    dc.polyline({{1, 1}, {10, 1}, {10, 10}});
    EXPECT_EQ(dc.pixel(1, 1), kRed);
    EXPECT_EQ(dc.pixel(5, 1), kRed);
    EXPECT_EQ(dc.pixel(10, 1), kRed);
    EXPECT_EQ(dc.pixel(10, 5), kRed);
    EXPECT_EQ(dc.pixel(5, 5), kWhite);
}

TEST(DrawContextShapes, OriginShiftsDrawingAndReading) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setOrigin(Point{5, 6});
    dc.setPixel(0, 0, kRed);
    EXPECT_EQ(image.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(dc.pixel(0, 0), kRed);
}

TEST(DrawContextShapes, PixelOutsideReadsInvalid) {
    QImage image = whiteSurface(4, 4);
    DrawContext dc(image);
    EXPECT_EQ(dc.pixel(-1, 0), kInvalidColour);
    EXPECT_EQ(dc.pixel(4, 0), kInvalidColour);
    EXPECT_EQ(dc.pixel(3, 3), kWhite);
}

TEST(DrawContextShapes, NotXorTwiceRestoresTheSurface) {
    QImage image = whiteSurface(30, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            image.setPixel(x, y, qRgba(x * 8, y * 8, 100, 200));
    const QImage before = image.copy();
    DrawContext dc(image);
    dc.setRasterMode(RasterMode::NotXor);
    dc.setPen(Pen::solid(0));
    dc.setBrush(Brush::hollowBrush());
    dc.rectangle(Rect{5, 5, 16, 16});
    EXPECT_NE(image, before);
    QRgb inverted = image.pixel(5, 5);
    QRgb original = before.pixel(5, 5);
    EXPECT_EQ(qRed(inverted), 255 - qRed(original)) << "a black pen in NOT-XOR inverts";
    EXPECT_EQ(qAlpha(inverted), qAlpha(original));
    EXPECT_EQ(image.pixel(10, 10), before.pixel(10, 10)) << "inside a hollow figure is untouched";
    dc.rectangle(Rect{5, 5, 16, 16});
    EXPECT_EQ(image, before);
}

TEST(DrawContextShapes, NotXorAtTheSurfaceEdgeWithAnOriginTouchesOnlyTheFigure) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setOrigin(Point{10, 10});
    dc.setRasterMode(RasterMode::NotXor);
    dc.setPen(Pen::solid(0));
    dc.setBrush(Brush::hollowBrush());
    dc.rectangle(Rect{-2, -2, 20, 20});  // partly outside the surface
    EXPECT_EQ(image.pixel(8, 8), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(19, 8), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 7), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(12, 12), qRgb(255, 255, 255));
    dc.line(Point{-100, 5}, Point{-50, 5});  // wholly outside: nothing happens
    EXPECT_EQ(image.pixel(0, 15), qRgb(255, 255, 255));
}

TEST(DrawContextState, TextColourReadsBackNotSet) {
    QImage image = whiteSurface(4, 4);
    DrawContext dc(image);
    EXPECT_EQ(dc.textColour(), 0u);
    dc.setTextColour(kInvalidColour);
    EXPECT_EQ(dc.textColour(), kInvalidColour);
    EXPECT_EQ(dc.setTextColour(kRed), kInvalidColour);
}

TEST_F(DrawContextText, JustifiedTextSpansTheGivenWidth) {
    QImage image = whiteSurface(400, 40);
    DrawContext dc(image);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    LogFont font;
    font.height = -16;
    dc.setFont(font);
    const std::string text = "uno due tre quattro";
    Size plain = dc.textExtent(text);
    const int target = 300;
    ASSERT_LT(plain.cx, target);
    dc.setTextJustification(target - plain.cx, 3);
    EXPECT_EQ(dc.textExtent(text).cx, target);
    dc.textOut(0, 0, text);
    dc.setTextJustification(0, 0);
    int rightmost = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x)
            if (dc.pixel(x, y) != kWhite)
                rightmost = std::max(rightmost, x);
    EXPECT_GT(rightmost, target - 15);
    EXPECT_LT(rightmost, target + 2);
}

TEST_F(DrawContextText, OpaqueTextFillsItsExtentWithTheBackground) {
    QImage image = whiteSurface(200, 40);
    DrawContext dc(image);
    dc.setBackgroundColour(kBlue);
    dc.setTextColour(kRed);
    dc.textOut(10, 5, "Ab");
    Size extent = dc.textExtent("Ab");
    EXPECT_GT(extent.cy, 8);
    EXPECT_EQ(dc.pixel(10, 5), kBlue);
    EXPECT_EQ(dc.pixel(10 + extent.cx, 5), kWhite);
}

TEST_F(DrawContextText, NegativeHeightIsCharacterHeightPositiveIsCell) {
    QImage image = whiteSurface(4, 4);
    DrawContext dc(image);
    LogFont font;
    font.setFace("Arial");
    font.height = 30;
    dc.setFont(font);
    int cell = dc.textExtent("X").cy;
    EXPECT_NEAR(cell, 30, 2);
    font.height = -30;
    dc.setFont(font);
    EXPECT_GT(dc.textExtent("X").cy, cell);
}

TEST_F(DrawContextText, AliasedTextOnMarkedSurfaceHasOnlyTextColourOrMarker) {
    QImage image(120, 30, QImage::Format_ARGB32);
    image.fill(0x01010101);
    DrawContext dc(image);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.setTextAntialiasing(false);
    dc.setTextColour(kRed);
    dc.textOut(2, 2, "Testo");
    int drawn = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            QRgb p = image.pixel(x, y);
            if (p == 0x01010101u)
                continue;
            ++drawn;
            EXPECT_EQ(p, qRgb(255, 0, 0)) << x << "," << y;
        }
    EXPECT_GT(drawn, 20);
}

TEST_F(DrawContextText, AntialiasedTextOnMarkedSurfaceKeepsTextColourAtEdges) {
    QImage image(120, 30, QImage::Format_ARGB32);
    image.fill(0x01010101);
    DrawContext dc(image);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    dc.setTextColour(rgb(200, 100, 0));
    dc.textOut(2, 2, "Testo");
    int partial = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            QRgb p = image.pixel(x, y);
            if (p == 0x01010101u || qAlpha(p) <= 1)
                continue;
            if (qAlpha(p) < 255)
                ++partial;
            EXPECT_NEAR(qRed(p), 200, 8) << "no dark fringe at " << x << "," << y;
        }
    EXPECT_GT(partial, 0);
}

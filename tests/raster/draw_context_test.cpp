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

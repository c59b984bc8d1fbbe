#include <gtest/gtest.h>

#include "raster/draw_context.h"
#include "support/qt_pictures.h"

using namespace quib;
using namespace quib::raster;
using quib::test::whiteSurface;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

}  // namespace

TEST(DrawContextShapes, SolidBrushFillsInsideAndTheOriginShiftsDrawingAndReading) {
    QImage image = whiteSurface(20, 20);
    DrawContext dc(image);
    dc.setPen(Pen::solid(kRed));
    dc.setBrush(Brush::solid(kBlue));
    dc.rectangle(Rect{0, 0, 10, 10});
    EXPECT_EQ(dc.pixel(0, 0), kRed);
    EXPECT_EQ(dc.pixel(5, 5), kBlue);
    EXPECT_EQ(dc.pixel(10, 10), kWhite);
    dc.setOrigin(Point{5, 6});
    dc.setPixel(0, 0, kRed);
    EXPECT_EQ(image.pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(dc.pixel(0, 0), kRed);
}

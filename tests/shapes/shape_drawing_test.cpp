#include <gtest/gtest.h>

#include "shape_bytes.h"
#include "shapes/curve_shape.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"
#include "support/qt_pictures.h"

using namespace quib;
using namespace quib::raster;
using quib::test::whiteSurface;
using quib::testing::shapeOf;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

}  // namespace

TEST(ShapeDrawing, PolygonRoundsToPixelsAndDrawsHandlesOnRequest) {
    QImage image = whiteSurface(100, 100);
    DrawContext dc(image);
    auto shape = shapeOf<PolygonShape>({{0.104, 0.2}, {0.896, 0.2}});
    shape->Draw(dc, 100, 100, false, Pen::solid(kRed), Pen::solid(kBlue), Pen::solid(kBlue), -1);
    EXPECT_EQ(dc.pixel(10, 20), kRed);
    EXPECT_EQ(dc.pixel(50, 20), kRed);
    EXPECT_EQ(dc.pixel(7, 17), kWhite);
    shape->Draw(dc, 100, 100, true, Pen::solid(kRed), Pen::solid(kBlue), Pen::solid(kBlue), -1);
    EXPECT_EQ(dc.pixel(7, 17), kBlue) << "handle square (x - 3, y - 3, x + 3, y + 3)";
    EXPECT_EQ(dc.pixel(92, 22), kBlue);
    EXPECT_EQ(dc.pixel(93, 23), kWhite);
}

TEST(ShapeDrawing, CurveHandlesAndBlinkMarkerDrawOverThePolygon) {
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(QColor(0x8C, 0x8C, 0x8C));
    DrawContext dc(image);
    auto polygon = shapeOf<PolygonShape>({{0.1, 0.1}, {0.45, 0.1}, {0.45, 0.9}, {0.1, 0.9}, {0.1, 0.1}});
    polygon->Draw(dc, 240, 160, true, Pen{PenStyle::Dot, 1, kBlack}, Pen::solid(kBlue), Pen::solid(kRed), -1);
    auto curve = shapeOf<CurveShape>(
        {{0.55, 0.8}, {0.55, 0.1}, {0.95, 0.1}, {0.9, 0.5}, {0.85, 0.9}, {0.7, 0.9}, {0.6, 0.6}});
    curve->Draw(dc, 240, 160, true, Pen{PenStyle::Solid, 2, rgb(255, 255, 0)}, Pen::solid(kBlue),
                Pen::solid(kRed), 3);
    curve->DrawBlinkMarker(3, dc, 240, 160, 10);
    EXPECT_EQ(dc.pixel(pixelRound(0.9, 240), pixelRound(0.5, 160) - 6 + 0), kBlack)
        << "blink marker's outer square";
}

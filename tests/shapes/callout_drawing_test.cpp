#include <gtest/gtest.h>

#include "raster/gui_application.h"
#include "shapes/callout_library.h"
#include "shapes/fill_shape.h"

using namespace quib;
using namespace quib::raster;

namespace {

constexpr uint32_t kMarker = 0x01010101;

class CalloutDrawing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }

    // A text surface as composition uses it: every byte 1 until something is drawn.
    static QImage markedSurface(int w, int h) {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(kMarker);
        return image;
    }
};

}  // namespace

TEST_F(CalloutDrawing, FillOutsideEveryOutlineFloodsTheWholeBackground) {
    Callout callout = CalloutLibrary().NewCallout(0);
    callout.shapes.push_back(FillShape::at(0.5, 0.5, 400, 400, rgb(0, 200, 0)));
    QImage surface = markedSurface(80, 40);
    DrawContext dc(surface);
    callout.DrawCallout(dc, Rect{0, 0, 80, 40}, std::string_view(""), 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(surface.pixel(x, y), qRgb(0, 200, 0)) << x << "," << y;
}

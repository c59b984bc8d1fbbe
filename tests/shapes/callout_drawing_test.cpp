#include <gtest/gtest.h>

#include <QPainter>
#include <filesystem>

#include "raster/gui_application.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"
#include "shapes/wrapped_text.h"

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

    // The surface put over a striped stand-in for a frame, keeping only what was drawn.
    static QImage composeOverFrame(const QImage& surface) {
        QImage frame(surface.size(), QImage::Format_RGB32);
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                frame.setPixel(x, y, ((x / 12 + y / 12) % 2) ? qRgb(120, 160, 200) : qRgb(90, 130, 170));
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                QRgb p = surface.pixel(x, y);
                if (qAlpha(p) != 1)
                    frame.setPixel(x, y, qRgb(qRed(p), qGreen(p), qBlue(p)));
            }
        return frame;
    }

    static std::string outputDir() {
        std::string dir = std::string(QUIB_BUILD_DIR) + "/test-output/shapes";
        std::filesystem::create_directories(dir);
        return dir;
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

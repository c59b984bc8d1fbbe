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

CalloutLibrary shippedLibrary() {
    CalloutLibrary library;
    bool found = false;
    Status status = library.LoadLibrary(std::string(QUIB_BUILD_DIR) + "/share/quib/callout.dat", &found);
    EXPECT_TRUE(found);
    EXPECT_TRUE(status.ok()) << status.message();
    return library;
}

LogFont sansFont(int pixels) {
    LogFont font;
    font.setFace("Arial");
    font.height = -pixels;
    return font;
}

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

TEST_F(CalloutDrawing, AlignmentsInsideACalloutStayInTheTextField) {
    CalloutLibrary library = shippedLibrary();
    const Callout* callout = library.FindCallout("Riquadro arrotondato");
    ASSERT_NE(callout, nullptr);
    const int w = 300, h = 150;
    QImage sheet(w, 4 * (h + 10), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const std::string text =
        "Allineamento del testo: questa frase va a capo\nsu piu' righe dentro il riquadro.";
    for (uint32_t align = 0; align < 4; ++align) {
        QImage surface = markedSurface(w, h);
        DrawContext dc(surface);
        dc.setFont(sansFont(15));
        dc.setTextColour(kInvalidColour);
        callout->DrawCallout(dc, Rect{0, 0, w, h}, std::string_view(text), align);
        // Text ink is the callout's text colour; it must stay inside the text rectangle.
        const Rect field = callout->TextRect(w, h);
        const QRgb ink = rgbFromColour(callout->textColour);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (surface.pixel(x, y) == ink) {
                    EXPECT_GE(x, field.left - 1) << align;
                    EXPECT_LE(x, field.right) << align;
                }
        QPainter(&sheet).drawImage(0, int(align) * (h + 10), composeOverFrame(surface));
    }
    EXPECT_TRUE(sheet.save(QString::fromStdString(outputDir() + "/callout_alignments.png")));
}

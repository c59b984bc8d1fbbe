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

TEST_F(CalloutDrawing, ShippedLibraryHoldsTheBuiltCallouts) {
    CalloutLibrary library = shippedLibrary();
    CalloutLibrary built = defaultCalloutLibrary();
    ASSERT_EQ(library.size(), built.size());
    EXPECT_GE(library.size(), 6u);
    EXPECT_EQ(library.write(), built.write());
    for (const Callout& c : library.callouts()) {
        ASSERT_FALSE(c.shapes.empty()) << c.name;
        EXPECT_TRUE(c.shapes[0]->permanent) << c.name;
    }
}

TEST_F(CalloutDrawing, EveryShippedCalloutFillsInsideAndLeavesOutsideUntouched) {
    CalloutLibrary library = shippedLibrary();
    const int w = 260, h = 130;
    QImage sheet(w, int(library.size()) * (h + 10), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (size_t i = 0; i < library.size(); ++i) {
        const Callout& callout = library.at(i);
        QImage surface = markedSurface(w, h);
        DrawContext dc(surface);
        dc.setFont(sansFont(14));
        dc.setTextColour(kInvalidColour);
        uint32_t colour = callout.DrawCallout(
            dc, Rect{0, 0, w, h}, std::string_view("Fare clic sul pulsante Avvia per cominciare."), 3);
        EXPECT_EQ(colour, callout.textColour);
        EXPECT_EQ(dc.textColour(), callout.textColour) << "an unset text colour takes the callout's";
        // The text field's centre lies inside the callout body, which the fill covers.
        Rect text = callout.TextRect(w, h);
        QRgb centre = surface.pixel((text.left + text.right) / 2, text.bottom - 2);
        EXPECT_NE(qAlpha(centre), 1) << callout.name << " leaves its text field unfilled";
        EXPECT_EQ(surface.pixel(0, 0), kMarker) << callout.name << " draws outside its outline";
        QImage composed = composeOverFrame(surface);
        QPainter(&sheet).drawImage(0, int(i) * (h + 10), composed);
    }
    EXPECT_TRUE(sheet.save(QString::fromStdString(outputDir() + "/default_callouts.png")));
}

TEST_F(CalloutDrawing, WithoutTextThePlaceholderIsDrawn) {
    CalloutLibrary library = shippedLibrary();
    const Callout& callout = library.at(0);
    QImage withPlaceholder = markedSurface(240, 100);
    QImage empty = markedSurface(240, 100);
    DrawContext a(withPlaceholder);
    DrawContext b(empty);
    callout.DrawCallout(a, Rect{0, 0, 240, 100}, std::nullopt, 0);
    callout.DrawCallout(b, Rect{0, 0, 240, 100}, std::string_view(""), 0);
    EXPECT_NE(withPlaceholder, empty);
}

TEST_F(CalloutDrawing, CalloutWithoutShapesUsesBoxShrunkByTwo) {
    Callout title;
    EXPECT_EQ(title.TextRect(100, 50), (Rect{2, 2, 98, 48}));
    QImage surface = markedSurface(100, 50);
    DrawContext dc(surface);
    dc.setTextColour(rgb(0, 0, 0));
    dc.setFont(sansFont(20));
    title.DrawCallout(dc, Rect{0, 0, 100, 50}, std::string_view("WWWWWWWW"), 0);
    int leftmost = 1000, topmost = 1000;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            if (surface.pixel(x, y) != kMarker)
                leftmost = std::min(leftmost, x), topmost = std::min(topmost, y);
    EXPECT_GE(leftmost, 2);
    EXPECT_LE(leftmost, 4);
    EXPECT_GE(topmost, 2);
}

TEST_F(CalloutDrawing, TextRectIsTextFieldExtremesInsetThreeAndTwo) {
    Callout callout = CalloutLibrary().NewCallout(0);
    // Points 0.03 and 0.97 of 200 x 100 truncate to 6, 194 and 3, 97.
    EXPECT_EQ(callout.TextRect(200, 100), (Rect{6 + 3, 3 + 3, 194 - 2, 97 - 2}));
}

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

TEST_F(CalloutDrawing, BoxOffsetMovesShapesAndText) {
    CalloutLibrary library = shippedLibrary();
    const Callout& callout = library.at(0);
    QImage atOrigin = markedSurface(200, 100);
    QImage shifted = markedSurface(230, 140);
    DrawContext a(atOrigin);
    DrawContext b(shifted);
    callout.DrawCallout(a, Rect{0, 0, 200, 100}, std::string_view("Testo"), 1);
    callout.DrawCallout(b, Rect{30, 40, 230, 140}, std::string_view("Testo"), 1);
    EXPECT_EQ(shifted.copy(30, 40, 200, 100), atOrigin);
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

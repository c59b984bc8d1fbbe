#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "base/strings.h"
#include "model/frame_composition.h"
#include "model/quib_doc.h"
#include "raster/gui_application.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "support/bytes_and_pictures.h"

using namespace quib;

namespace {

using Colour = std::array<uint8_t, 3>;  // blue, green, red

constexpr Colour kFill{0xEE, 0xEE, 0xEE};

// A document whose canvas is canvas, with a frame picture of frameSize at origin where every pixel
// encodes its own position (blue x, green y, red 77).
void makeDoc(CQuibDoc& doc, Size canvas, Size frameSize = Size{0, 0}, Point origin = Point{0, 0}) {
    doc.backgroundSize = canvas;
    doc.frameSize = frameSize;
    doc.frameOrigin = origin;
    doc.currentImage = Bitmap24(frameSize.cx, frameSize.cy);
    for (int y = 0; y < frameSize.cy; ++y)
        for (int x = 0; x < frameSize.cx; ++x) {
            uint8_t* p = doc.currentImage.pixel(x, y);
            p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 77;
        }
}

void setCursor(CQuibDoc& doc, const Bitmap32& picture, Point pos) {
    doc.currentFrame.setCursorImage(picture);
    doc.currentFrame.cursorPos = pos;
    doc.currentFrame.cursorVisible = 1;
}

// A destination of the canvas filled with kFill.
std::vector<uint8_t> filledCanvas(const CQuibDoc& doc, int stride = -1) {
    if (stride < 0)
        stride = doc.backgroundSize.cx * 3;
    std::vector<uint8_t> buffer(size_t(stride) * size_t(doc.backgroundSize.cy));
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = kFill[i % 3];
    return buffer;
}

Colour at(const std::vector<uint8_t>& buffer, const CQuibDoc& doc, int x, int y, int stride = -1) {
    if (stride < 0)
        stride = doc.backgroundSize.cx * 3;
    const uint8_t* p = buffer.data() + size_t(y) * size_t(stride) + size_t(x) * 3;
    return Colour{p[0], p[1], p[2]};
}

class Composition : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }
    // The document composed over a canvas filled with kFill.
    std::vector<uint8_t> compose(uint32_t flags, std::optional<Rect> clip = std::nullopt) {
        auto buffer = filledCanvas(doc);
        EXPECT_TRUE(ComposeFrame(doc, library, buffer.data(), flags, -1, clip));
        return buffer;
    }
    CQuibDoc doc;
    CalloutLibrary library = defaultCalloutLibrary();
};

TEST_F(Composition, BackgroundIsCopiedOnlyInsideTheClipRectangle) {
    makeDoc(doc, Size{6, 5});
    doc.backgroundImage = Bitmap24(6, 5);
    for (size_t i = 0; i < doc.backgroundImage.pixels.size(); ++i)
        doc.backgroundImage.pixels[i] = uint8_t(i);
    const auto buffer = compose(ComposeAll, Rect{2, 1, 5, 4});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
            const uint8_t* b = doc.backgroundImage.pixel(x, y);
            EXPECT_EQ(at(buffer, doc, x, y), (inside ? Colour{b[0], b[1], b[2]} : kFill)) << x << "," << y;
        }
}

// (No background picture at all is CursorIsDrawnWhenShownAndFlagged's first compose.)
TEST_F(Composition, AButtonWithoutPictureKeepsTheDestination) {
    makeDoc(doc, Size{4, 4});
    doc.currentFrame.nextButton.visible = 1;
    EXPECT_EQ(compose(ComposeAll), filledCanvas(doc));
}

TEST_F(Composition, FrameImageLiesAtItsOriginClippedToTheCanvas) {
    makeDoc(doc, Size{5, 4}, Size{4, 6}, Point{-1, 2});
    const auto buffer = compose(ComposeFrameImage);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const int fx = x + 1, fy = y - 2;
            const bool covered = fx >= 0 && fx < 4 && fy >= 0 && fy < 6;
            EXPECT_EQ(at(buffer, doc, x, y), (covered ? Colour{uint8_t(fx), uint8_t(fy), 77} : kFill))
                << x << "," << y;
        }
}

TEST_F(Composition, RoundedStrideLeavesRowPaddingAloneAndAShortOneIsRefused) {
    makeDoc(doc, Size{3, 2}, Size{3, 2});
    const int stride = 12;  // 9 bytes of pixels rounded up to a multiple of 4
    auto buffer = filledCanvas(doc, stride);
    ASSERT_TRUE(ComposeFrame(doc, library, buffer.data(), ComposeAll, stride));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(at(buffer, doc, x, y, stride), (Colour{uint8_t(x), uint8_t(y), 77}));
        for (int i = 9; i < 12; ++i)
            EXPECT_EQ(buffer[size_t(y) * 12 + size_t(i)], kFill[i % 3]);
    }
    // A stride shorter than a row, or no destination, is refused without writing.
    const auto before = buffer;
    EXPECT_FALSE(ComposeFrame(doc, library, buffer.data(), ComposeAll, 8));
    EXPECT_FALSE(ComposeFrame(doc, library, nullptr, ComposeAll));
    EXPECT_EQ(buffer, before);
}

// Transparent cursor pixels show the frame; alpha 128 mixes by integer division.
TEST_F(Composition, CursorPixelsAreBlendedByTheirAlpha) {
    makeDoc(doc, Size{4, 4}, Size{4, 4});
    Bitmap32 cursor = test::solidPicture32(2, 2, 1, 1, 1, 0);
    std::memcpy(cursor.pixel(1, 0), "\xC8\x64\x32\x80", 4);
    std::memcpy(cursor.pixel(1, 1), "\x05\x06\x07\xFF", 4);
    setCursor(doc, cursor, Point{1, 1});
    const auto buffer = compose(ComposeAll);
    EXPECT_EQ(at(buffer, doc, 1, 1), (Colour{1, 1, 77}));
    // (200 * 128 + 2 * 127) / 255 = 101, (100 * 128 + 1 * 127) / 255 = 50, (50 * 128 + 77 * 127) / 255 = 63
    EXPECT_EQ(at(buffer, doc, 2, 1), (Colour{101, 50, 63}));
    EXPECT_EQ(at(buffer, doc, 2, 2), (Colour{5, 6, 7}));
}

// A hidden or unflagged cursor is not drawn; one partly outside is clipped, one fully outside
// draws nothing.
TEST_F(Composition, CursorIsDrawnWhenShownAndFlaggedClippedToTheCanvas) {
    makeDoc(doc, Size{4, 4});
    setCursor(doc, test::solidPicture32(3, 3, 9, 8, 7, 255), Point{-2, 2});
    const auto empty = filledCanvas(doc);
    EXPECT_EQ(compose(ComposeEditor), empty);
    doc.currentFrame.cursorVisible = 0;
    EXPECT_EQ(compose(ComposeAll), empty);
    doc.currentFrame.cursorVisible = 1;
    const auto buffer = compose(ComposeCursor);
    EXPECT_EQ(at(buffer, doc, 0, 2), (Colour{9, 8, 7}));
    EXPECT_EQ(at(buffer, doc, 0, 3), (Colour{9, 8, 7}));
    EXPECT_EQ(at(buffer, doc, 1, 2), kFill);
    for (Point far : {Point{4, 0}, Point{0, 4}, Point{-3, 0}, Point{0, -3}, Point{INT32_MIN, INT32_MAX}}) {
        doc.currentFrame.cursorPos = far;
        EXPECT_EQ(compose(ComposeAll), empty);
    }
}

TEST_F(Composition, ButtonsAreBlendedNextPreviousGoto1Goto2ThenTheCursor) {
    makeDoc(doc, Size{4, 4});
    for (int kind = 0; kind < 4; ++kind)
        doc.buttonImages.images[kind] = test::solidPicture32(2, 2, uint8_t(10 * (kind + 1)), 0, 0, 255);
    NavButton* buttons[] = {&doc.currentFrame.prevButton, &doc.currentFrame.nextButton,
                            &doc.currentFrame.gotoButtons[0], &doc.currentFrame.gotoButtons[1]};
    for (NavButton* button : buttons)
        button->visible = 1, button->pos = Point{1, 1};
    auto topColour = [&](uint32_t flags) { return at(compose(flags), doc, 1, 1)[0]; };
    EXPECT_EQ(topColour(ComposeAll), 40);  // Goto 2 last
    EXPECT_EQ(topColour(ComposeAll & ~ComposeGoto2Button), 30);
    EXPECT_EQ(topColour(ComposeNextButton | ComposePrevButton), 10);  // Previous over Next
    EXPECT_EQ(topColour(ComposeNextButton), 20);
    doc.currentFrame.gotoButtons[1].visible = 0;
    EXPECT_EQ(topColour(ComposeAll), 30);

    setCursor(doc, test::solidPicture32(1, 1, 99, 0, 0, 255), Point{1, 1});
    EXPECT_EQ(topColour(ComposeAll), 99);
}

class TextComposition : public Composition {
protected:
    void SetUp() override {
        makeDoc(doc, Size{200, 120}, Size{200, 120});
        TextBox& box = doc.currentFrame.textBox;
        box.visible = 1;
        box.rect = Rect{20, 10, 180, 90};
        box.calloutName = "Rettangolo";
        box.font.logFont.setFace("DejaVu Sans");
        box.font.logFont.height = -14;
    }
};

// A text box draws its callout inside its rectangle. A name not in the library (deleted, or from
// another library) gets the plain white box; no name at all, a hidden or an empty box draws nothing.
TEST_F(TextComposition, TextBoxDrawsItsCalloutInsideItsRectangleOrAPlainBoxOrNothing) {
    const auto plain = compose(ComposeAll & ~ComposeTextBox);
    const auto withBox = compose(ComposeAll);
    // Inside the rectangle near its middle: the callout's fill colour (255, 255, 225) or text.
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool differs = at(plain, doc, x, y) != at(withBox, doc, x, y);
            (doc.currentFrame.textBox.rect.contains(Point{x, y}) ? changedInside : changedOutside) += differs;
        }
    EXPECT_GT(changedInside, 160 * 80 / 2);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(at(withBox, doc, 100, 85), (Colour{225, 255, 255}));
    doc.currentFrame.textBox.calloutName = "Nessuno";
    const auto missing = compose(ComposeAll);
    EXPECT_EQ(at(missing, doc, 100, 85), (Colour{255, 255, 255}));
    doc.currentFrame.textBox.calloutName.clear();
    EXPECT_EQ(compose(ComposeAll), plain);
    doc.currentFrame.textBox.calloutName = "Rettangolo";
    doc.currentFrame.textBox.visible = 0;
    EXPECT_EQ(compose(ComposeAll), plain);
}

TEST_F(TextComposition, AnEmptyTitleShowsItsPlaceholderInTheEditorOnly) {
    doc.currentFrame.textBox.visible = 0;
    doc.titles.rect = Rect{10, 10, 190, 40};
    doc.titles.font.logFont.setFace("DejaVu Sans");
    doc.titles.font.logFont.height = -16;
    const auto plain = compose(ComposeEditor);
    doc.titles.enabled = 1;
    EXPECT_EQ(compose(ComposeAll & ~ComposeCursor), plain);
    const auto placeholder = compose(ComposeEditor);
    EXPECT_NE(placeholder, plain);
    doc.currentFrame.title = stringText(str::TitlePlaceholder);
    EXPECT_EQ(compose(ComposeAll & ~ComposeCursor), placeholder);
    doc.currentFrame.title = "Primo";
    EXPECT_EQ(compose(ComposeAll), compose(ComposeEditor));
    EXPECT_EQ(compose(ComposeAll & ~ComposeTitle), plain);
}

TEST_F(TextComposition, ClipRectangleLimitsTheTextBox) {
    const auto whole = compose(ComposeAll);
    EXPECT_EQ(doc.compositionSurfaces.textBox.width(), 160);
    EXPECT_EQ(doc.compositionSurfaces.textBox.height(), 80);
    const Rect clip{60, 30, 120, 70};
    const auto clipped = compose(ComposeAll, clip);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(at(clipped, doc, x, y), (clip.contains(Point{x, y}) ? at(whole, doc, x, y) : kFill))
                << x << "," << y;
}

TEST_F(TextComposition, ElementsLargerThanTheCanvasGetSurfacesOfTheCanvasOnly) {
    doc.titles.enabled = 1;
    doc.currentFrame.textBox.rect = doc.titles.rect = Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    compose(ComposeAll);
    for (const QImage& surface :
         {doc.compositionSurfaces.textBox.image(), doc.compositionSurfaces.title.image()}) {
        EXPECT_LE(surface.width(), 200);
        EXPECT_LE(surface.height(), 120);
    }
}

}  // namespace

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/shared_bytes.h"
#include "base/text_font.h"
#include "model/output_type.h"
#include "model/text_style.h"
#include "palette/palette_entry.h"

namespace quib {

struct TextBox {
    uint32_t visible = 0;
    Rect rect;
    std::string text;  // UTF-8, may hold line breaks
    std::string calloutName;
    TextFont font;
    friend bool operator==(const TextBox&, const TextBox&) = default;
};

struct NavButton {
    uint32_t visible = 0;
    Point pos;
    // Goto buttons only: target index = own index + targetOffset, so that blocks of frames moved
    // together keep their links.
    int32_t targetOffset = 0;
    friend bool operator==(const NavButton&, const NavButton&) = default;
};

// Everything of a frame that is copied "by elements": all fields except the cursor pixels and the
// compressed image, which are copied only where an operation asks for them.
struct FrameElements {
    Point cursorPos;  // top-left of the cursor picture on the canvas
    int32_t cursorWidth = 0;
    int32_t cursorHeight = 0;
    TextBox textBox;
    uint32_t displayTime = 0;  // milliseconds
    NavButton prevButton;
    NavButton nextButton;
    uint32_t cursorVisible = 0;
    NavButton gotoButtons[2];
    std::string title;

    FrameElements& elements() { return *this; }
    const FrameElements& elements() const { return *this; }
    friend bool operator==(const FrameElements&, const FrameElements&) = default;
};

struct Frame : FrameElements {
    // cursorWidth x cursorHeight x 4 bytes (Bitmap32 layout), or empty.
    std::vector<uint8_t> cursorPixels;
    // zlib stream of a Bitmap24 of the project's frame size, shared by the frame's copies.
    SharedBytes imageData;

    uint32_t imageSize() const { return uint32_t(imageData.size()); }
    bool hasCursorImage() const { return !cursorPixels.empty(); }
    // The cursor picture as a bitmap (empty when there are no pixels).
    Bitmap32 cursorImage() const;
    void setCursorImage(const Bitmap32& image);
    void clearCursorImage();
    void assignElements(const FrameElements& other) { elements() = other; }
};

// A picture's zlib stream, sized exactly (frames keep their streams for the whole session), with
// the output buffer bound (cx * cy * 330) / 100 + 12 of a picture of size.
std::optional<std::vector<uint8_t>> compressPicture(const std::vector<uint8_t>& pixels, Size size, int level);

// Per-project pictures of the four navigation buttons: Previous, Next, Goto 1, Goto 2.
struct ButtonImageSet {
    enum Kind { Previous = 0, Next = 1, Goto1 = 2, Goto2 = 3 };
    Bitmap32 images[4];
    friend bool operator==(const ButtonImageSet&, const ButtonImageSet&) = default;
};

struct TitleSettings {
    uint32_t enabled = 0;
    TextFont font;
    Rect rect{50, 50, 250, 90};
    friend bool operator==(const TitleSettings&, const TitleSettings&) = default;
};

struct ProjectSettings {
    std::string outputFileName;                 // native path at run time
    OutputType outputType = OutputType::Movie;  // what the render command writes
    uint32_t frameRate = 8;
    uint32_t cursorSmoothness = 25;
    uint32_t usePalette = 0;
    int32_t paletteCount = 0;
    PaletteEntry palette[256];
    // Stored in a block after the frames, which readers of the plain format pass over.
    TextStyle textStyle;
    friend bool operator==(const ProjectSettings&, const ProjectSettings&) = default;
};

}  // namespace quib

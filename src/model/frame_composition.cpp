#include "model/frame_composition.h"

#include <algorithm>
#include <cstring>

#include "base/strings.h"
#include "model/quib_doc.h"
#include "raster/draw_context.h"
#include "shapes/callout.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"

namespace quib {

namespace {

const CalloutLibrary* g_calloutLibrary = nullptr;

// An untouched surface pixel: every byte is still the fill value 1.
constexpr uint8_t kSurfaceMarkerByte = 1;

// Copies the bounds-clipped part of a w x h blue-green-red picture placed at position.
void copyPicture(uint8_t* destination, int stride, const Rect& bounds, const uint8_t* source, int width,
                 int height, Point position) {
    Rect area{0, 0, width, height};
    if (!ClipBlit(bounds, area, position))
        return;
    const size_t rowBytes = size_t(area.width()) * 3;
    for (int row = 0; row < area.height(); ++row) {
        const uint8_t* from = source + (size_t(area.top + row) * size_t(width) + size_t(area.left)) * 3;
        uint8_t* to = destination + size_t(position.y + row) * size_t(stride) + size_t(position.x) * 3;
        std::memcpy(to, from, rowBytes);
    }
}

bool pictureIsWhole(const Bitmap32& picture) {
    auto bytes = pictureBytes(picture.width, picture.height, 4);
    return bytes && *bytes > 0 && picture.pixels.size() >= *bytes;
}

void blendButton(const ProjectData& project, uint8_t* destination, int stride, const Rect& bounds,
                 const NavButton& button, ButtonImageSet::Kind kind) {
    if (!button.visible)
        return;
    const Bitmap32& picture = project.buttonImages.images[kind];
    if (pictureIsWhole(picture))
        AlphaBlend32(destination, stride, button.pos, bounds, picture);
}

}  // namespace

const CalloutLibrary* applicationCalloutLibrary() {
    return g_calloutLibrary;
}
void setApplicationCalloutLibrary(const CalloutLibrary* library) {
    g_calloutLibrary = library;
}

bool ClipBlit(const Rect& bounds, Rect& source, Point& destination) {
    // 64-bit arithmetic: positions come from files and may sit anywhere in the 32-bit range.
    int64_t left = source.left, top = source.top, right = source.right, bottom = source.bottom;
    int64_t x = destination.x, y = destination.y;
    if (x < bounds.left) {
        left += bounds.left - x;
        x = bounds.left;
    }
    if (y < bounds.top) {
        top += bounds.top - y;
        y = bounds.top;
    }
    if ((right - left) + x >= bounds.right)
        right = int64_t(bounds.right) - x + left;
    if ((bottom - top) + y >= bounds.bottom)
        bottom = int64_t(bounds.bottom) - y + top;
    if (right <= left || bottom <= top) {
        source = Rect{};
        return false;
    }
    source = Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    destination = Point{int32_t(x), int32_t(y)};
    return true;
}

void AlphaBlend32(uint8_t* destination, int stride, int x, int y, int width, int height, const Rect& bounds,
                  const uint8_t* pixels) {
    if (!destination || !pixels || width <= 0 || height <= 0)
        return;
    Rect area{0, 0, width, height};
    Point position{x, y};
    if (!ClipBlit(bounds, area, position))
        return;
    for (int row = 0; row < area.height(); ++row) {
        const uint8_t* s = pixels + (size_t(area.top + row) * size_t(width) + size_t(area.left)) * 4;
        uint8_t* d = destination + size_t(position.y + row) * size_t(stride) + size_t(position.x) * 3;
        for (int column = 0; column < area.width(); ++column, s += 4, d += 3) {
            const unsigned a = s[3];
            if (a == 0)
                continue;
            if (a == 255) {
                d[0] = s[0], d[1] = s[1], d[2] = s[2];
                continue;
            }
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((s[c] * a + d[c] * (255 - a)) / 255);
        }
    }
}

void AlphaBlend32(uint8_t* destination, int stride, Point position, const Rect& bounds,
                  const Bitmap32& picture) {
    if (!pictureIsWhole(picture))
        return;
    AlphaBlend32(destination, stride, position.x, position.y, picture.width, picture.height, bounds,
                 picture.pixels.data());
}

void DrawTextElement(OffscreenSurface& surface, const Callout& callout, const Rect& element,
                     const TextFont& font, std::optional<std::string_view> text, uint8_t* destination,
                     const Rect& bounds, int stride, const Rect& canvas) {
    const Rect rect{clampCoordinate(element.left), clampCoordinate(element.top),
                    clampCoordinate(element.right), clampCoordinate(element.bottom)};
    const int w = rect.width();
    const int h = rect.height();
    if (w <= 0 || h <= 0 || !destination)
        return;
    // A box no larger than the canvas is drawn whole, so that its fills see every outline; a
    // larger one only where it meets the canvas.
    Rect drawn = rect;
    if (int64_t(w) * h > int64_t(canvas.width()) * canvas.height()) {
        drawn = rect.intersected(canvas);
        if (drawn.isEmpty())
            return;
    }
    const int dw = drawn.width();
    const int dh = drawn.height();
    if (!surface.EnsureSurface(dw, dh, 32))
        return;

    QImage& image = surface.image();
    image.fill(QColor::fromRgba(0x01010101));
    {
        raster::DrawContext dc(image);
        dc.setFont(font.logFont);
        dc.setTextColour(font.color);
        const int ox = drawn.left - rect.left;
        const int oy = drawn.top - rect.top;
        callout.DrawCallout(dc, Rect{-ox, -oy, w - ox, h - oy}, text, font.align);
    }

    Rect area{0, 0, dw, dh};
    Point position{drawn.left, drawn.top};
    if (!ClipBlit(bounds, area, position))
        return;
    for (int row = 0; row < area.height(); ++row) {
        const uint8_t* s = image.constScanLine(area.top + row) + size_t(area.left) * 4;
        uint8_t* d = destination + size_t(position.y + row) * size_t(stride) + size_t(position.x) * 3;
        for (int column = 0; column < area.width(); ++column, s += 4, d += 3) {
            // Antialiased text edges over untouched pixels carry the text colour with their
            // coverage as alpha; blending them keeps the letters smooth on the frame.
            const unsigned a = s[3];
            if (a == kSurfaceMarkerByte || a == 0)
                continue;
            if (a == 255) {
                d[0] = s[0], d[1] = s[1], d[2] = s[2];
                continue;
            }
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((s[c] * a + d[c] * (255 - a) + 127) / 255);
        }
    }
}

bool ComposeFrame(const ProjectData& doc, const Frame& frame, const Bitmap24& picture,
                  const CalloutLibrary& library, CompositionSurfaces& surfaces, uint8_t* destination,
                  uint32_t flags, int stride, std::optional<Rect> clip) {
    const Size canvas = doc.backgroundSize;
    if (!destination || canvas.isEmpty())
        return false;
    const int64_t rowBytes = int64_t(canvas.cx) * 3;
    if (stride == -1)
        stride = int(rowBytes);
    if (stride < rowBytes)
        return false;

    const Rect canvasRect{0, 0, canvas.cx, canvas.cy};
    Rect bounds = canvasRect;
    if (clip)
        bounds = bounds.intersected(clip->normalized());
    if (bounds.isEmpty())
        return true;

    if ((flags & ComposeBackground) && !doc.backgroundImage.isNull()) {
        const Bitmap24& background = doc.backgroundImage;
        auto bytes = pictureBytes(background.width, background.height, 3);
        if (bytes && background.pixels.size() >= *bytes)
            copyPicture(destination, stride, bounds, background.pixels.data(), background.width,
                        background.height, Point{0, 0});
    }

    if ((flags & ComposeFrameImage) && !picture.isNull()) {
        // The picture's own size guards against a frame size that was changed without it.
        auto bytes = pictureBytes(picture.width, picture.height, 3);
        if (bytes && picture.pixels.size() >= *bytes) {
            const int width = std::min(doc.frameSize.cx, picture.width);
            const int height = std::min(doc.frameSize.cy, picture.height);
            if (width > 0 && height > 0) {
                Rect area{0, 0, width, height};
                Point position = doc.frameOrigin;
                if (ClipBlit(bounds, area, position)) {
                    for (int row = 0; row < area.height(); ++row)
                        std::memcpy(
                            destination + size_t(position.y + row) * size_t(stride) + size_t(position.x) * 3,
                            picture.pixel(area.left, area.top + row), size_t(area.width()) * 3);
                }
            }
        }
    }

    // Text elements wholly outside the bounds are not drawn at all: repainting a small area
    // elsewhere costs no text layout.
    auto touchesBounds = [&](const Rect& r) { return !r.normalized().intersected(bounds).isEmpty(); };

    const bool showsTitle = !frame.title.empty() || (flags & ComposeTitlePlaceholder);
    if ((flags & ComposeTitle) && doc.titles.enabled && showsTitle && touchesBounds(doc.titles.rect)) {
        // No shapes and text colour 0: a title font without a chosen colour draws black.
        static const Callout kNoCallout;
        const std::string_view title = frame.title.empty()
                                           ? std::string_view(stringText(str::TitlePlaceholder))
                                           : std::string_view(frame.title);
        DrawTextElement(surfaces.title, kNoCallout, doc.titles.rect, doc.titles.font, title, destination,
                        bounds, stride, canvasRect);
    }

    const TextBox& box = frame.textBox;
    if ((flags & ComposeTextBox) && box.visible && !box.rect.isEmpty() && touchesBounds(box.rect)) {
        if (const Callout* callout = calloutForTextBox(library, box.calloutName)) {
            std::optional<std::string_view> text;
            if (!box.text.empty())
                text = box.text;
            DrawTextElement(surfaces.textBox, *callout, box.rect, box.font, text, destination, bounds, stride,
                            canvasRect);
        }
    }

    if (flags & ComposeNextButton)
        blendButton(doc, destination, stride, bounds, frame.nextButton, ButtonImageSet::Next);
    if (flags & ComposePrevButton)
        blendButton(doc, destination, stride, bounds, frame.prevButton, ButtonImageSet::Previous);
    if (flags & ComposeGoto1Button)
        blendButton(doc, destination, stride, bounds, frame.gotoButtons[0], ButtonImageSet::Goto1);
    if (flags & ComposeGoto2Button)
        blendButton(doc, destination, stride, bounds, frame.gotoButtons[1], ButtonImageSet::Goto2);

    if ((flags & ComposeCursor) && frame.cursorVisible && frame.cursorWidth > 0 && frame.cursorHeight > 0) {
        auto bytes = pictureBytes(frame.cursorWidth, frame.cursorHeight, 4);
        if (bytes && frame.cursorPixels.size() >= *bytes)
            AlphaBlend32(destination, stride, frame.cursorPos.x, frame.cursorPos.y, frame.cursorWidth,
                         frame.cursorHeight, bounds, frame.cursorPixels.data());
    }
    return true;
}

bool ComposeFrame(CQuibDoc& doc, const CalloutLibrary& library, uint8_t* destination, uint32_t flags,
                  int stride, std::optional<Rect> clip) {
    return ComposeFrame(doc, doc.currentFrame, doc.currentImage, library, doc.compositionSurfaces,
                        destination, flags, stride, clip);
}

const CalloutLibrary& applicationCalloutsOrNone() {
    static const CalloutLibrary kEmptyLibrary;
    const CalloutLibrary* library = applicationCalloutLibrary();
    return library ? *library : kEmptyLibrary;
}

bool ComposeFrame(CQuibDoc& doc, uint8_t* destination, uint32_t flags, int stride, std::optional<Rect> clip) {
    return ComposeFrame(doc, applicationCalloutsOrNone(), destination, flags, stride, clip);
}

Bitmap24 ComposeFramePicture(CQuibDoc& doc, const CalloutLibrary& library, uint32_t flags) {
    if (doc.backgroundSize.isEmpty() || !pictureBytes(doc.backgroundSize.cx, doc.backgroundSize.cy, 3))
        return {};
    Bitmap24 picture(doc.backgroundSize.cx, doc.backgroundSize.cy);
    std::fill(picture.pixels.begin(), picture.pixels.end(), kUncoveredCanvas);
    ComposeFrame(doc, library, picture.pixels.data(), flags, -1);
    return picture;
}

}  // namespace quib

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/text_font.h"
#include "model/offscreen_surface.h"

namespace quib {

class CQuibDoc;
struct Frame;
struct ProjectData;
class Callout;
class CalloutLibrary;

// Elements of a frame that ComposeFrame draws (bit mask).
enum ComposeElement : uint32_t {
    ComposeBackground = 0x001,
    ComposeFrameImage = 0x002,
    ComposeTitle = 0x004,
    ComposeTextBox = 0x008,
    ComposeCursor = 0x010,
    ComposeNextButton = 0x020,
    ComposePrevButton = 0x040,
    ComposeGoto1Button = 0x080,
    ComposeGoto2Button = 0x100,
    // An editor hint, never part of an output: an empty title shows its placeholder text.
    ComposeTitlePlaceholder = 0x200,
    ComposeAll = 0x1FF,  // every element an output shows
    // The editor paints the cursor in a second call.
    ComposeEditor = (ComposeAll & ~uint32_t(ComposeCursor)) | ComposeTitlePlaceholder,
};

// The application-wide callout library that composition looks text box callouts up in. The
// application sets it once at start-up; nothing is owned here. Null until set.
const CalloutLibrary* applicationCalloutLibrary();
void setApplicationCalloutLibrary(const CalloutLibrary* library);
// The application-wide library, or an empty one when none is set.
const CalloutLibrary& applicationCalloutsOrNone();

// Draws frame (its elements and cursor pixels) over picture (a frameSize picture placed at the
// project's frame origin) with the elements of flags into destination, as the overload below does
// for the current frame. surfaces are the text drawing surfaces to reuse; each thread needs its own.
bool ComposeFrame(const ProjectData& project, const Frame& frame, const Bitmap24& picture,
                  const CalloutLibrary& library, CompositionSurfaces& surfaces, uint8_t* destination,
                  uint32_t flags, int stride = -1, std::optional<Rect> clip = std::nullopt);

// Draws the current frame (currentFrame over currentImage; select it first) with the elements of
// flags into destination, a blue-green-red picture of backgroundSize with rows of stride bytes
// (-1: backgroundSize.cx x 3). Nothing outside clip (canvas coordinates) is written; pixels where
// no element is drawn keep their value. Text boxes look their callout up in library (by exact name;
// a name not found draws no text box). Returns false, writing nothing, for a null destination or
// a stride shorter than a row.
bool ComposeFrame(CQuibDoc& doc, const CalloutLibrary& library, uint8_t* destination, uint32_t flags,
                  int stride = -1, std::optional<Rect> clip = std::nullopt);
// The same with the application-wide library (an empty one when none is set).
bool ComposeFrame(CQuibDoc& doc, uint8_t* destination, uint32_t flags, int stride = -1,
                  std::optional<Rect> clip = std::nullopt);
// Canvas parts that neither a background picture nor the frame picture covers show this grey
// level (white) in the editor, on the clipboard and in every output.
inline constexpr uint8_t kUncoveredCanvas = 0xFF;

// A new picture of backgroundSize, uncovered parts white, with the current frame composed into it.
Bitmap24 ComposeFramePicture(CQuibDoc& doc, const CalloutLibrary& library, uint32_t flags = ComposeAll);

// Clips source (a rectangle of a picture) placed with its top-left at destination to bounds:
// both are moved and shrunk to the part inside. Returns false, with source set to (0, 0, 0, 0),
// when nothing remains.
bool ClipBlit(const Rect& bounds, Rect& source, Point& destination);

// Blends a width x height picture of blue, green, red, alpha pixels onto the blue-green-red
// destination with its top-left at (x, y), within bounds: each channel becomes
// (S x A + D x (255 - A)) / 255. Alpha 0 leaves the destination as it is.
void AlphaBlend32(uint8_t* destination, int stride, int x, int y, int width, int height, const Rect& bounds,
                  const uint8_t* pixels);
void AlphaBlend32(uint8_t* destination, int stride, Point position, const Rect& bounds,
                  const Bitmap32& picture);

// Draws callout with text (nothing: the callout's placeholder) into surface, sized to rect, in
// font, and copies what was drawn into destination at rect within bounds. Text edges are blended
// over the destination by their coverage, so text stays smooth; untouched surface pixels leave the
// destination as it was. A rect larger than the canvas gets a surface of its part on the canvas
// only, so its cost is bounded by the canvas.
void DrawTextElement(OffscreenSurface& surface, const Callout& callout, const Rect& rect,
                     const TextFont& font, std::optional<std::string_view> text, uint8_t* destination,
                     const Rect& bounds, int stride, const Rect& canvas);

}  // namespace quib

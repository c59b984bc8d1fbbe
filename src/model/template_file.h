#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/status.h"
#include "base/text_font.h"

namespace quib {

class CQuibDoc;

// Elements a template carries (bits of its element mask), in the chooser's order.
namespace templ {
inline constexpr uint32_t BackgroundImage = 0x0001;
inline constexpr uint32_t FramePosition = 0x0002;
inline constexpr uint32_t TitleEnable = 0x0004;
inline constexpr uint32_t TitleFont = 0x0008;
inline constexpr uint32_t TitlePosition = 0x0010;
inline constexpr uint32_t Callout = 0x0020;
inline constexpr uint32_t TextBoxFont = 0x0040;
inline constexpr uint32_t NextButtonPosition = 0x0080;
inline constexpr uint32_t PrevButtonPosition = 0x0100;
inline constexpr uint32_t GotoButtonPositions = 0x0200;
inline constexpr uint32_t NextButtonImage = 0x0400;
inline constexpr uint32_t PrevButtonImage = 0x0800;
inline constexpr uint32_t GotoButtonImages = 0x1000;
inline constexpr uint32_t FrameRate = 0x2000;
inline constexpr uint32_t UsePalette = 0x4000;
inline constexpr uint32_t CursorMovement = 0x8000;
inline constexpr uint32_t AllElements = 0xFFFF;
inline constexpr int ElementCount = 16;

// The chooser's text of element i (bit 1 << i).
const char* elementText(int index);
}  // namespace templ

// A project's look as saved in a ".qtp" file. Pictures are present only when their bit is in
// the mask; the positions, fonts and settings always hold the project's values.
struct TemplateSet {
    static constexpr uint32_t kMagic = 0x20505451;  // "QTP "
    static constexpr const char* kExtension = ".qtp";

    uint32_t mask = 0;
    Size backgroundSize;
    Size frameSize;
    Bitmap24 background;
    Point frameOrigin;
    uint32_t titlesEnabled = 0;
    TextFont titleFont;
    Rect titleRect;
    TextFont textFont;
    std::string calloutName;
    Point nextPos;
    Point prevPos;
    Size prevPictureSize;
    Size nextPictureSize;
    Bitmap32 prevPicture;
    Bitmap32 nextPicture;
    Point gotoPos[2];
    Size gotoPictureSize[2];
    Bitmap32 gotoPicture[2];
    uint32_t frameRate = 0;
    uint32_t cursorSmoothness = 0;
    uint32_t usePalette = 0;

    // Fills the record from doc (the working copy for the per-frame elements); a requested
    // picture the project does not have clears its bit.
    void TakeFrom(const CQuibDoc& doc, uint32_t elements);

    std::vector<uint8_t> toBytes() const;
    // Parses bytes into out; a wrong magic or a malformed body fails with "Formato del file
    // inaspettato." and leaves out as it was.
    static Status fromBytes(const std::vector<uint8_t>& bytes, TemplateSet& out);

    // Writes the file atomically ("Impossibile creare il file" on failure).
    Status Save(const std::string& path) const;
    // Reads the file; on failure the record stays as it was.
    Status Load(const std::string& path);
};

}  // namespace quib

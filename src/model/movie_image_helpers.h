#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "base/text_font.h"
#include "palette/palette_entry.h"

namespace quib {

class NearestColourMap;

class Callout;

// Pictures the movie writer takes: 8-bit indexed rows padded to a multiple of 4 bytes, or 32-bit
// pixels in the order alpha, red, green, blue.

// The row length in bytes of an 8-bit indexed picture of width pixels.
inline int IndexedStride(int width) {
    return (width + 3) & ~3;
}

// The value of an untouched pixel of a text surface, as a little-endian 32-bit word.
inline constexpr uint32_t kTransparentMarker = 0x01010101;

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // height rows of IndexedStride(width) bytes
    // Entry 0 is all zero and means transparent; entries 1 .. colourCount - 1 hold the colours
    // (fourth byte 255).
    std::array<PaletteEntry, kMaxPaletteEntries> palette{};
    int colourCount = 0;
};

// The text box (or, with an empty callout, the title) for the movie: callout and text (nothing:
// the placeholder) drawn at the size of rect in logFont and textColour (kCalloutTextColour: the
// callout's own), quantised to at most 255 colours from entry 1 on; untouched pixels map to the
// transparent entry 0. Text over transparent parts has hard edges (the movie picture has no partial
// transparency, and blending with the marker would give dark fringes); text over a callout's fill
// stays smooth. Nothing for an empty or inverted rect.
std::optional<IndexedPicture> RenderTextBoxIndexed(const Callout& callout, const Rect& rect,
                                                   const LogFont& logFont, uint32_t textColour,
                                                   std::optional<std::string_view> text, uint32_t align);

// Maps width x height 32-bit pixels (blue, green, red, x) to palette indices in output (rows of
// IndexedStride(width) bytes, padding zero): a pixel equal to marker as a whole word maps to 0; a
// pixel whose colour repeats the pixel before it in memory takes its index unless that is 0;
// others take the nearest of entries 1 .. count - 1 (sum of squared differences, ties to the lowest
// index), or 0 when count is 1 or less. Palette entries are red, green, blue.
void MapToPalette(const uint8_t* pixels, int width, int height, uint8_t* output, const PaletteEntry* palette,
                  int count, uint32_t marker);

// Reorders the entries of an 8-bit picture (rows of stride bytes) by how often they are used, most
// used first (an entry k keeps position k when it shares the highest remaining count), drops the
// unused entries, renumbers the pixels and writes the kept entries to paletteOut (256 entries of
// room). Returns the number of entries kept.
int CompactPalette(uint8_t* pixels, int stride, const PaletteEntry* paletteIn, int width, int height,
                   PaletteEntry* paletteOut);

// A frame picture (width x height blue-green-red pixels, no padding) for the movie. Without
// usePalette, output gets 4 bytes per pixel: 255, red, green, blue. With usePalette, output gets
// one index per pixel (rows of IndexedStride(width) bytes): the nearest of entries 0 .. count - 1
// whose fourth byte is not 0 (ties to the lowest index; 0 when none qualifies), a repeated colour
// reusing the previous pixel's index. Output must hold OutputBytesForMovie bytes. nearest, when
// given, is a map of the same palette (entries 0 .. count - 1, transparent ones skipped) kept from
// picture to picture.
void ConvertImageForMovie(const uint8_t* source, int width, int height, uint8_t* output,
                          const PaletteEntry* palette, int count, bool usePalette,
                          NearestColourMap* nearest = nullptr);
size_t OutputBytesForMovie(int width, int height, bool usePalette);

}  // namespace quib

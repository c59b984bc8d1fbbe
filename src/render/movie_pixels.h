#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/text_font.h"
#include "render/color_table.h"

namespace quib {

class Callout;

// Row size of an 8-bit movie picture: the width rounded up to a multiple of 4.
inline size_t indexedRowBytes(int width) {
    return (size_t(width) + 3) & ~size_t(3);
}

// A frame picture in the movie's pixel format: without a palette alpha 255, red, green, blue per
// pixel; with one the index of the nearest palette colour (entries with alpha 0 never chosen),
// rows padded to a multiple of 4. out is resized to fit.
void convertImageForMovie(const Bitmap24& source, std::vector<uint8_t>& out, const ColorTable* palette);

// Keeps only the used entries of in, most used first, renumbering the pixels in place. Returns
// the table of kept entries.
ColorTable compactPalette(uint8_t* pixels, int stride, int width, int height, const ColorTable& in);

// 32-bit blue, green, red, x pixels to indices of table (1 .. count - 1); pixels equal to marker
// as a whole word become 0. Rows of out are padded to a multiple of 4.
void mapToPalette(const uint8_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const ColorTable& table, uint32_t marker);

// A callout with its text drawn into an 8-bit picture whose entry 0 is transparent.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows of indexedRowBytes(width)
    ColorTable table;
};

// Nothing when rect is empty or inverted.
std::optional<IndexedPicture> renderTextBoxIndexed(const Callout& callout, const Rect& rect, const TextFont& font,
                                                   const std::string& text);

}  // namespace quib

#pragma once

#include <cstdint>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "model/movie_image_helpers.h"
#include "render/color_table.h"

namespace quib {

class NearestColourMap;

// The frame picture helpers over the render pass's buffers and colour tables.

inline size_t indexedRowBytes(int width) {
    return size_t(IndexedStride(width));
}

// The smallest rectangle (right and bottom exclusive) holding every pixel that differs between two
// pictures of size with rows of stride bytes and pixels of pixelBytes; empty when none differs.
Rect changedRect(const uint8_t* current, const uint8_t* previous, Size size, size_t stride, int pixelBytes);

// A picture in the movie's pixel format (ConvertImageForMovie): 32-bit without a palette, else
// indices of the nearest palette colours (nearest: a map of that palette kept between pictures, or
// null); out is resized to fit.
void convertImageForMovie(const Bitmap24& source, std::vector<uint8_t>& out, const ColorTable* palette,
                          NearestColourMap* nearest = nullptr);

// Keeps the used entries of in, most used first, renumbering the pixels in place (CompactPalette).
ColorTable compactPalette(uint8_t* pixels, int stride, int width, int height, const ColorTable& in);

// 32-bit blue, green, red, x pixels to indices of table, marker words to 0 (MapToPalette).
void mapToPalette(const uint8_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const ColorTable& table, uint32_t marker);

}  // namespace quib

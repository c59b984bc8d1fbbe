#pragma once

#include <cstdint>
#include <string_view>

#include "base/geometry.h"
#include "raster/draw_context.h"

namespace quib {

// Word-wrapped text in a rectangle with the current font and colours of dc: lines break at spaces
// and line feeds (CR LF and lone CR count as line feeds); align 0 left, 1 centre, 2 right,
// 3 justify (every line broken for width, and holding spaces between words, spans the width).
// A word wider than the rectangle is broken between characters. Lines start while their top is
// above rect.bottom.
void DrawWrappedText(raster::DrawContext& dc, std::string_view text, Rect rect, uint32_t align);

// The height the text takes when wrapped to width with the current font of dc, laid out as
// DrawWrappedText lays it out.
int WrappedTextHeight(raster::DrawContext& dc, std::string_view text, int width);

}  // namespace quib

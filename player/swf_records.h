#pragma once

#include "movie_data.h"
#include "swf_bit_reader.h"

namespace quib::player {

// Readers for the small records shared by several tags.
RectF readRect(SwfBitReader& in);
Transform readMatrix(SwfBitReader& in);
Rgba readRgb(SwfBitReader& in);
Rgba readRgba(SwfBitReader& in);
void skipColorTransformWithAlpha(SwfBitReader& in);
// An action list up to and including its end byte.
ActionList readActions(SwfBitReader& in);

}  // namespace quib::player

#pragma once

#include <cstdint>

#include "movie_data.h"
#include "swf_bit_reader.h"

namespace quib::player {

// Decodes the body of a lossless bitmap tag (colour-mapped, 15-bit or 32-bit pixels, zlib data).
// withAlpha selects the variant whose colours carry premultiplied alpha.
// Returns the character id; throws FormatError for a malformed body.
uint16_t decodeLosslessBitmap(SwfBitReader& body, bool withAlpha, BitmapCharacter& out);

}  // namespace quib::player

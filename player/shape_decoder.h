#pragma once

#include <cstdint>

#include "movie_data.h"
#include "swf_bit_reader.h"

namespace quib::player {

// Decodes the body of a shape definition tag; shapeVersion is 1, 2 or 3 for the three shape
// tags (3 carries RGBA colours). Returns the character id; throws FormatError when malformed.
uint16_t decodeShape(SwfBitReader& body, int shapeVersion, ShapeCharacter& out);

}  // namespace quib::player

#pragma once

#include <QColor>
#include <QRectF>
#include <QTransform>

#include "movie_data.h"
#include "swf_bit_reader.h"

namespace quib::player {

// Readers for the small records shared by several tags.
QRectF readRect(SwfBitReader& in);
QTransform readMatrix(SwfBitReader& in);
QColor readRgb(SwfBitReader& in);
QColor readRgba(SwfBitReader& in);
void skipColorTransformWithAlpha(SwfBitReader& in);
// An action list up to and including its end byte.
ActionList readActions(SwfBitReader& in);

}  // namespace quib::player

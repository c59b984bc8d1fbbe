#pragma once

#include <QFont>

#include "base/text_font.h"

namespace quib::raster {

// The QFont that draws a stored LOGFONTA: face (a sans-serif stands in when it is missing),
// pixel height (negative: character height, positive: cell height, 0: a default size),
// weight, italic, underline and strike-out.
QFont fontFromLogFont(const LogFont& logFont, bool antialiased = true);

}  // namespace quib::raster

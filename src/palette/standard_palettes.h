#pragma once

#include <vector>

#include "palette/palette_entry.h"

namespace quib {

// The 16 colours of the classic system palette, black first and white last.
std::vector<PaletteEntry> StandardPalette16();

// The 216 web-safe colours; entry r + 6g + 36b holds 51r, 51g, 51b, so red varies fastest.
std::vector<PaletteEntry> WebSafePalette216();

}  // namespace quib

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "palette/palette_entry.h"

namespace quib {

inline constexpr const char* kCannotOpenFileText = "Impossibile aprire il file";
// File dialog filter and default extension of palette files.
inline constexpr const char* kPaletteFileFilter = "Palette Files (*.pal)|*.pal|All Files (*.*)|*.*||";
inline constexpr const char* kPaletteDefaultExtension = "pal";

// JASC-PAL text: "JASC-PAL", "0100", the count, then one "red green blue" line per entry.
std::string WriteJascPalette(const Palette& palette);

// Reads a palette file's bytes into `palette`, deciding the format by the first four bytes:
// "RIFF" (a RIFF "PAL " form) or "JASC" (JASC-PAL text). On failure ("Formato di file
// sconosciuto") the palette is left exactly as it was.
Status ReadPaletteFile(const std::vector<uint8_t>& bytes, Palette& palette);

// RIFF "PAL " form: the "data" chunk holds u16 version, u16 count and count entries of red, green,
// blue, flags. Counts above 256 keep the first 256 entries; entries get the fourth byte 255.
Status ReadRiffPalette(const std::vector<uint8_t>& bytes, Palette& palette);

// JASC-PAL text. Two lines are skipped, the count is limited to 0 .. 256, and the entries' red,
// green and blue are read as decimal numbers; numbers that do not parse leave the values (and
// everything after them) as they were, and the fourth byte always stays as it was.
Status ReadJascPalette(const std::vector<uint8_t>& bytes, Palette& palette);

// File helpers: a failed load or save leaves the palette, or the existing file, untouched.
Status LoadPaletteFile(const std::string& path, Palette& palette);
Status SavePaletteFile(const std::string& path, const Palette& palette);

}  // namespace quib

#pragma once

#include <array>
#include <cstdint>

namespace quib {

// One colour of an indexed palette. The fourth byte is the alpha the movie bitmaps carry.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};
static_assert(sizeof(PaletteEntry) == 4);

inline constexpr int kMaxPaletteEntries = 256;

// A project palette: always 256 entries, of which the first `count` are in use.
struct Palette {
    std::array<PaletteEntry, kMaxPaletteEntries> entries{};
    int count = 0;
    friend bool operator==(const Palette&, const Palette&) = default;
};

}  // namespace quib

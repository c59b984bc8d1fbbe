#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "palette/palette_entry.h"

namespace quib {

struct ProjectSettings;

// The colours of an 8-bit movie bitmap: entries of red, green, blue, alpha (the bytes the movie's
// colour table stores) and how many are in use.
struct ColorTable {
    std::array<PaletteEntry, kMaxPaletteEntries> entries{};
    int count = 0;

    const uint8_t* entry(int index) const {
        return reinterpret_cast<const uint8_t*>(&entries[size_t(index)]);
    }
    void set(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
        entries[size_t(index)] = PaletteEntry{red, green, blue, alpha};
    }
    // The entries in use as the movie stores them.
    std::span<const uint8_t> bytes() const {
        return {reinterpret_cast<const uint8_t*>(entries.data()), size_t(count) * sizeof(PaletteEntry)};
    }
    friend bool operator==(const ColorTable&, const ColorTable&) = default;
};

// The palette movie frames are mapped to: the project palette made opaque, with one entry given
// up for transparency (all zero bytes).
struct RenderPalette {
    ColorTable table;
    int transparent = 0;
};

// With fewer than 256 colours the transparent entry follows the last one; with 256 the first of
// the two closest entries (smallest squared distance, first pair in index order) becomes it.
RenderPalette makeRenderPalette(const ProjectSettings& settings);

}  // namespace quib

#pragma once

#include <cstdint>
#include <memory>

#include "palette/palette_entry.h"

namespace quib {

// The palette entry nearest to a colour (smallest sum of squared differences, ties to the lowest
// index), remembered per colour: a screen picture repeats a few thousand colours over millions of
// pixels, so each is searched for once instead of at every change along a row.
class NearestColourMap {
public:
    // Entries first .. count - 1 of palette are candidates, except, with skipTransparent, those
    // whose fourth byte is 0; a colour gets 0 when there is no candidate.
    NearestColourMap(const PaletteEntry* palette, int first, int count, bool skipTransparent);

    uint8_t nearest(uint8_t blue, uint8_t green, uint8_t red) {
        const uint32_t colour = uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
        const uint32_t slot = (colour * 0x9E3779B1u) >> (32 - kSlotBits);
        if (m_colours[slot] != colour) {
            m_colours[slot] = colour;
            m_indices[slot] = search(blue, green, red);
        }
        return m_indices[slot];
    }

private:
    static constexpr int kSlotBits = 16;
    uint8_t search(uint8_t blue, uint8_t green, uint8_t red) const;

    PaletteEntry m_entries[kMaxPaletteEntries];
    uint8_t m_entryIndex[kMaxPaletteEntries];
    int m_candidates = 0;
    std::unique_ptr<uint32_t[]> m_colours;  // no colour has bits above the 24th: 0xFFFFFFFF is empty
    std::unique_ptr<uint8_t[]> m_indices;
};

}  // namespace quib

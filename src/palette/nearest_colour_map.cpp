#include "nearest_colour_map.h"

#include <algorithm>

namespace quib {

NearestColourMap::NearestColourMap(const PaletteEntry* palette, int first, int count, bool skipTransparent)
    : m_colours(new uint32_t[size_t(1) << kSlotBits]), m_indices(new uint8_t[size_t(1) << kSlotBits]) {
    std::fill_n(m_colours.get(), size_t(1) << kSlotBits, 0xFFFFFFFFu);
    count = std::min(count, kMaxPaletteEntries);
    for (int i = std::max(first, 0); palette && i < count; ++i) {
        if (skipTransparent && palette[i].flags == 0)
            continue;
        m_entries[m_candidates] = palette[i];
        m_entryIndex[m_candidates] = uint8_t(i);
        ++m_candidates;
    }
}

uint8_t NearestColourMap::search(uint8_t blue, uint8_t green, uint8_t red) const {
    // Candidates are kept in index order, so the first of equal distances is the lowest index.
    int best = 1 << 30;
    uint8_t index = 0;
    for (int i = 0; i < m_candidates; ++i) {
        const int dr = int(red) - m_entries[i].red;
        const int dg = int(green) - m_entries[i].green;
        const int db = int(blue) - m_entries[i].blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            index = m_entryIndex[i];
        }
    }
    return index;
}

}  // namespace quib

#pragma once

#include <cstddef>
#include <vector>

#include "palette/palette_entry.h"

namespace quib {

// What the palette dialog edits: its own copy of the 256 entries with their count, and the
// selected entry (-1 for none). Kept apart from the widgets so that its rules are plain to test.
class PaletteEditState {
public:
    PaletteEditState() = default;
    explicit PaletteEditState(const Palette& palette);

    const Palette& palette() const { return m_palette; }
    int count() const { return m_palette.count; }
    int selected() const { return m_selected; }
    const PaletteEntry& entry(int index) const { return m_palette.entries[size_t(index)]; }

    // Selects index when it holds an entry, else clears the selection.
    void select(int index);
    // Moves the selection by step (1 or 16 either way) when the target holds an entry; false when
    // there is no selection or the move is refused.
    bool moveSelection(int step);
    // Removes the selected entry unless it is the first one: later entries move down, the count
    // drops by one and the selection stays on the new last entry at most.
    bool removeSelected();
    // Sets red, green and blue of an entry in use; its fourth byte stays.
    bool setColour(int index, int red, int green, int blue);
    // A new count in 1 .. 256; entries added by growing are all zero, fourth byte included.
    bool resize(int count);
    // The entries of a newly made palette (at most 256; an empty one changes nothing).
    bool replace(const std::vector<PaletteEntry>& entries);
    // A palette read from a file: count and entries as given, the first entry selected.
    void replace(const Palette& palette);

private:
    void clampSelection();

    Palette m_palette;
    int m_selected = -1;
};

}  // namespace quib

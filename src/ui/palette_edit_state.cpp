#include "palette_edit_state.h"

#include <algorithm>

namespace quib {

PaletteEditState::PaletteEditState(const Palette& palette) : m_palette(palette) {
    m_palette.count = std::clamp(m_palette.count, 0, kMaxPaletteEntries);
}

void PaletteEditState::select(int index) {
    m_selected = index >= 0 && index < count() ? index : -1;
}

bool PaletteEditState::moveSelection(int step) {
    if (m_selected < 0)
        return false;
    const int target = m_selected + step;
    if (target < 0 || target >= count())
        return false;
    m_selected = target;
    return true;
}

bool PaletteEditState::removeSelected() {
    if (m_selected <= 0 || m_selected >= count())
        return false;
    auto& entries = m_palette.entries;
    std::copy(entries.begin() + m_selected + 1, entries.begin() + count(), entries.begin() + m_selected);
    --m_palette.count;
    clampSelection();
    return true;
}

bool PaletteEditState::setColour(int index, int red, int green, int blue) {
    if (index < 0 || index >= count())
        return false;
    PaletteEntry& e = m_palette.entries[size_t(index)];
    e.red = uint8_t(std::clamp(red, 0, 255));
    e.green = uint8_t(std::clamp(green, 0, 255));
    e.blue = uint8_t(std::clamp(blue, 0, 255));
    return true;
}

bool PaletteEditState::resize(int newCount) {
    if (newCount < 1 || newCount > kMaxPaletteEntries)
        return false;
    for (int i = count(); i < newCount; ++i)
        m_palette.entries[size_t(i)] = PaletteEntry{};
    m_palette.count = newCount;
    clampSelection();
    return true;
}

bool PaletteEditState::replace(const std::vector<PaletteEntry>& entries) {
    if (entries.empty())
        return false;
    const int n = std::min<int>(int(entries.size()), kMaxPaletteEntries);
    std::copy_n(entries.begin(), n, m_palette.entries.begin());
    m_palette.count = n;
    clampSelection();
    return true;
}

void PaletteEditState::replace(const Palette& palette) {
    m_palette = palette;
    m_palette.count = std::clamp(m_palette.count, 0, kMaxPaletteEntries);
    m_selected = count() > 0 ? 0 : -1;
}

void PaletteEditState::clampSelection() {
    if (m_selected >= count())
        m_selected = count() - 1;
}

}  // namespace quib

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quib {

struct ProjectSettings;

// The colours of an 8-bit movie bitmap: entries of red, green, blue, alpha, as the movie's colour
// table stores them, and how many are in use.
struct ColorTable {
    std::array<uint8_t, 1024> rgba{};
    int count = 0;

    uint8_t* entry(int index) { return rgba.data() + size_t(index) * 4; }
    const uint8_t* entry(int index) const { return rgba.data() + size_t(index) * 4; }
    void set(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
        uint8_t* e = entry(index);
        e[0] = red, e[1] = green, e[2] = blue, e[3] = alpha;
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

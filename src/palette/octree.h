#pragma once

#include <cstdint>
#include <vector>

#include "base/bitmap.h"
#include "palette/palette_entry.h"

namespace quib {

// Octree colour quantiser. Pixels are inserted one at a time; whenever there are more leaves than
// the maximum, the most recently created node of the deepest reducible level is folded into a leaf,
// so the tree never holds more than maxColors leaves after an insertion.
class OctreeQuantizer {
public:
    explicit OctreeQuantizer(int maxColors, int depth = 8);

    void addPixel(uint8_t red, uint8_t green, uint8_t blue);
    // Adds every pixel of a row of bytesPerPixel-wide blue, green, red(, ignored) pixels.
    void addRow(const uint8_t* pixels, int width, int bytesPerPixel);

    int leafCount() const { return m_leafCount; }
    int maxColors() const { return m_maxColors; }

    // The leaves depth first, children in index order; empty when more leaves remain than the
    // maximum (which only a maximum below 1 allows).
    std::vector<PaletteEntry> palette() const;

private:
    static constexpr int32_t kNone = -1;
    struct Node {
        // Counts and sums are 64-bit: a hundred full-screen frames overflow 32-bit sums.
        uint64_t pixelCount = 0;
        uint64_t redSum = 0;
        uint64_t greenSum = 0;
        uint64_t blueSum = 0;
        int32_t children[8] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
        int32_t nextReducible = kNone;
        bool leaf = false;
    };

    int32_t newNode(int level);
    void freeNode(int32_t index);
    bool reduce();  // false when nothing is left to reduce
    void collect(int32_t index, std::vector<PaletteEntry>& out) const;

    int m_maxColors;
    int m_depth;
    int m_leafCount = 0;
    std::vector<Node> m_nodes;
    std::vector<int32_t> m_freeNodes;
    std::vector<int32_t> m_reducible;  // head of the last-in, first-out list of each level
    int32_t m_root = kNone;
    // The leaf the last pixel reached; equal colours reach it again until the tree is reduced.
    uint32_t m_lastColour = 0xFFFFFFFF;
    int32_t m_lastLeaf = kNone;
};

// The octree palette of one picture of bytesPerPixel-wide pixels (blue, green, red first; a
// fourth byte is ignored), entries with the fourth byte 255; empty when maxColors is below 1.
std::vector<PaletteEntry> OctreePalette(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                                        int maxColors, int depth = 8);
std::vector<PaletteEntry> OctreePalette(const Bitmap32& picture, int maxColors, int depth = 8);
std::vector<PaletteEntry> OctreePalette(const Bitmap24& picture, int maxColors, int depth = 8);

}  // namespace quib

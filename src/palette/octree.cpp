#include "palette/octree.h"

#include <algorithm>

namespace quib {

OctreeQuantizer::OctreeQuantizer(int maxColors, int depth)
    : m_maxColors(maxColors), m_depth(std::clamp(depth, 1, 8)), m_reducible(size_t(m_depth), kNone) {
    m_root = newNode(0);
}

int32_t OctreeQuantizer::newNode(int level) {
    int32_t index;
    if (!m_freeNodes.empty()) {
        index = m_freeNodes.back();
        m_freeNodes.pop_back();
        m_nodes[size_t(index)] = Node();
    } else {
        index = int32_t(m_nodes.size());
        m_nodes.emplace_back();
    }
    Node& node = m_nodes[size_t(index)];
    if (level == m_depth) {
        node.leaf = true;
        ++m_leafCount;
    } else {
        node.nextReducible = m_reducible[size_t(level)];
        m_reducible[size_t(level)] = index;
    }
    return index;
}

void OctreeQuantizer::freeNode(int32_t index) {
    m_freeNodes.push_back(index);
}

void OctreeQuantizer::addPixel(uint8_t red, uint8_t green, uint8_t blue) {
    const uint32_t colour = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    int32_t leaf = kNone;
    if (colour == m_lastColour && m_lastLeaf != kNone) {
        leaf = m_lastLeaf;
    } else {
        int32_t index = m_root;
        for (int level = 0; !m_nodes[size_t(index)].leaf; ++level) {
            const int shift = 7 - level;
            const int child = ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1);
            int32_t next = m_nodes[size_t(index)].children[child];
            if (next == kNone) {
                next = newNode(level + 1);  // may reallocate m_nodes
                m_nodes[size_t(index)].children[child] = next;
            }
            index = next;
        }
        leaf = index;
    }
    Node& node = m_nodes[size_t(leaf)];
    ++node.pixelCount;
    node.redSum += red;
    node.greenSum += green;
    node.blueSum += blue;
    m_lastColour = colour;
    m_lastLeaf = leaf;
    while (m_leafCount > m_maxColors && reduce()) {
    }
}

void OctreeQuantizer::addRow(const uint8_t* pixels, int width, int bytesPerPixel) {
    for (int x = 0; x < width; ++x, pixels += bytesPerPixel)
        addPixel(pixels[2], pixels[1], pixels[0]);
}

bool OctreeQuantizer::reduce() {
    int level = m_depth - 1;
    while (level >= 0 && m_reducible[size_t(level)] == kNone)
        --level;
    if (level < 0)
        return false;
    const int32_t index = m_reducible[size_t(level)];
    Node& node = m_nodes[size_t(index)];
    m_reducible[size_t(level)] = node.nextReducible;
    node.nextReducible = kNone;
    int children = 0;
    for (int32_t& childIndex : node.children) {
        if (childIndex == kNone)
            continue;
        const Node& child = m_nodes[size_t(childIndex)];
        node.pixelCount += child.pixelCount;
        node.redSum += child.redSum;
        node.greenSum += child.greenSum;
        node.blueSum += child.blueSum;
        freeNode(childIndex);
        childIndex = kNone;
        ++children;
    }
    node.leaf = true;
    m_leafCount += 1 - children;
    m_lastLeaf = kNone;
    return true;
}

void OctreeQuantizer::collect(int32_t index, std::vector<PaletteEntry>& out) const {
    const Node& node = m_nodes[size_t(index)];
    if (node.leaf) {
        if (node.pixelCount == 0)
            return;  // only an untouched root of an empty picture
        out.push_back({uint8_t(node.redSum / node.pixelCount), uint8_t(node.greenSum / node.pixelCount),
                       uint8_t(node.blueSum / node.pixelCount), 255});
        return;
    }
    for (int32_t child : node.children)
        if (child != kNone)
            collect(child, out);
}

std::vector<PaletteEntry> OctreeQuantizer::palette() const {
    std::vector<PaletteEntry> out;
    if (m_leafCount > m_maxColors)
        return out;
    out.reserve(size_t(m_leafCount));
    collect(m_root, out);
    return out;
}

std::vector<PaletteEntry> OctreePalette(const uint8_t* pixels, int width, int height, int bytesPerPixel,
                                        int maxColors, int depth) {
    OctreeQuantizer tree(maxColors, depth);
    if (pixels && width > 0 && height > 0) {
        const size_t stride = size_t(width) * size_t(bytesPerPixel);
        for (int y = 0; y < height; ++y)
            tree.addRow(pixels + size_t(y) * stride, width, bytesPerPixel);
    }
    return tree.palette();
}

std::vector<PaletteEntry> OctreePalette(const Bitmap32& picture, int maxColors, int depth) {
    return OctreePalette(picture.pixels.data(), picture.width, picture.height, 4, maxColors, depth);
}

std::vector<PaletteEntry> OctreePalette(const Bitmap24& picture, int maxColors, int depth) {
    return OctreePalette(picture.pixels.data(), picture.width, picture.height, 3, maxColors, depth);
}

}  // namespace quib

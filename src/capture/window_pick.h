#pragma once

#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace quib {

// A mapped window as seen at one moment: its frame in screen coordinates (border included) and
// its own mapped child windows, topmost first.
struct WindowNode {
    uint32_t id = 0;
    Rect frame;
    std::vector<WindowNode> children;
};

// What a window pick takes: the window (0 for the bare desktop) and its rectangle kept on the
// primary screen.
struct PickedWindow {
    uint32_t id = 0;
    Rect region;
    friend bool operator==(const PickedWindow&, const PickedWindow&) = default;
};

// The window under point among windows (topmost first); a visible child under the point is taken
// instead of its top-level window. Over the bare desktop the whole screen is picked.
PickedWindow pickWindowAt(const std::vector<WindowNode>& windows, Point point, Size screen);

}  // namespace quib

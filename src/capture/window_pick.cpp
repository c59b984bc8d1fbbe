#include "window_pick.h"

#include "capture_region_rules.h"
#include "cursor_rules.h"

namespace quib {

namespace {
const WindowNode* topmostAt(const std::vector<WindowNode>& windows, Point point) {
    for (const WindowNode& window : windows)
        if (window.frame.contains(point))
            return &window;
    return nullptr;
}
}  // namespace

PickedWindow pickWindowAt(const std::vector<WindowNode>& windows, Point point, Size screen) {
    const WindowNode* window = topmostAt(windows, point);
    if (!window)
        return PickedWindow{0, screenRegion(screen)};
    if (const WindowNode* child = topmostAt(window->children, point))
        window = child;
    return PickedWindow{window->id, clampToScreen(window->frame, screen)};
}

}  // namespace quib

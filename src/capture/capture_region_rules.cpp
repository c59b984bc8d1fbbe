#include "capture_region_rules.h"

#include <algorithm>
#include <charconv>

namespace quib {

bool selectButtonEnabled(bool startCapturing, RegionMode mode) {
    return startCapturing && mode != RegionMode::Screen;
}

WizardControlStates wizardControlStates(bool startCapturing, RegionMode mode, bool timedCapture) {
    return WizardControlStates{startCapturing, selectButtonEnabled(startCapturing, mode), timedCapture};
}

bool usableCaptureRegion(const Rect& region) {
    return !region.isEmpty();
}

Rect screenRegion(Size screen) {
    return Rect{0, 0, screen.cx, screen.cy};
}

Rect normalizedRegion(const Rect& r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

std::string regionLabelText(const Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

std::optional<int> parseCaptureRate(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

int timedCaptureIntervalMs(int rate) {
    return 1000 / std::max(rate, 1);
}

std::string capturedFramesCaption(int frameCount) {
    return "Quib:" + std::to_string(frameCount) + " Frames";
}

std::optional<Point> placementOutsideRegion(const Rect& region, Size window, Size screen, int margin) {
    if (window.cx > screen.cx || window.cy > screen.cy)
        return std::nullopt;
    const Rect r = region.intersected(Rect{0, 0, screen.cx, screen.cy});
    if (r.isEmpty())
        return Point{0, 0};
    const int levelY = std::clamp(r.top, 0, screen.cy - window.cy);
    const int levelX = std::clamp(r.left, 0, screen.cx - window.cx);
    if (r.right + margin + window.cx <= screen.cx)
        return Point{r.right + margin, levelY};
    if (r.left - margin - window.cx >= 0)
        return Point{r.left - margin - window.cx, levelY};
    if (r.bottom + margin + window.cy <= screen.cy)
        return Point{levelX, r.bottom + margin};
    if (r.top - margin - window.cy >= 0)
        return Point{levelX, r.top - margin - window.cy};
    return std::nullopt;
}

int commonCaptureSizeIndex(Size size) {
    for (size_t i = 0; i < std::size(kCommonCaptureSizes); ++i) {
        if (kCommonCaptureSizes[i] == size)
            return int(i);
    }
    return -1;
}

Rect regionWithSize(const Rect& region, Size size, Size screen) {
    const int left = std::max(0, std::min(region.left, screen.cx - size.cx));
    const int top = std::max(0, std::min(region.top, screen.cy - size.cy));
    return Rect{left, top, left + size.cx, top + size.cy};
}

}  // namespace quib

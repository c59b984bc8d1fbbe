#pragma once

#include <cstdint>
#include <optional>

namespace quib {

// Where a go-to button of frame `frameIndex` leads in every output: a target before the first
// frame leads to the first frame; one past the last frame leads nowhere and the button is left out.
std::optional<int> gotoTarget(int frameIndex, int32_t targetOffset, int frameCount);

// Whether the target lies outside the project, so that the editor can mark the button.
bool gotoTargetOutside(int frameIndex, int32_t targetOffset, int frameCount);

}  // namespace quib

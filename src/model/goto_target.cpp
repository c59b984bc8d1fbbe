#include "model/goto_target.h"

#include <algorithm>

namespace quib {

std::optional<int> gotoTarget(int frameIndex, int32_t targetOffset, int frameCount) {
    const int64_t target = std::max<int64_t>(int64_t(frameIndex) + targetOffset, 0);
    if (target >= frameCount)
        return std::nullopt;
    return int(target);
}

bool gotoTargetOutside(int frameIndex, int32_t targetOffset, int frameCount) {
    const int64_t target = int64_t(frameIndex) + targetOffset;
    return target < 0 || target >= frameCount;
}

}  // namespace quib

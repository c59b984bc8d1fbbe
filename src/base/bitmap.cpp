#include "bitmap.h"

#include <limits>

namespace quib {

std::optional<size_t> pictureBytes(int64_t width, int64_t height, int bytesPerPixel) {
    if (width < 0 || height < 0 || bytesPerPixel <= 0)
        return std::nullopt;
    // Keep every picture addressable with 32-bit signed sizes, as the file formats are.
    const uint64_t limit = uint64_t(std::numeric_limits<int32_t>::max());
    const uint64_t bytes = uint64_t(width) * uint64_t(height);
    if (width != 0 && bytes / uint64_t(width) != uint64_t(height))
        return std::nullopt;
    if (bytes > limit / uint64_t(bytesPerPixel))
        return std::nullopt;
    return size_t(bytes * uint64_t(bytesPerPixel));
}

}  // namespace quib

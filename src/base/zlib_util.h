#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quib {

// Output buffer size for compressing a cx x cy picture of 24-bit pixels: (cx * cy * 330) / 100 + 12.
// It is also the largest compressed stream a reader accepts for such a picture.
size_t pictureStreamBound(int64_t cx, int64_t cy);

// The most a zlib stream of streamBytes can inflate to: deflate never expands more than about
// 1032 to 1, so a picture larger than this is a forged size, not a picture.
inline uint64_t maxInflatedBytes(uint64_t streamBytes) {
    return streamBytes * 1040;
}

// zlib compress2 at the given level; nothing when zlib fails or the output would exceed maxOut
// (0 means zlib's own bound).
std::optional<std::vector<uint8_t>> zlibCompress(const uint8_t* data, size_t size, int level,
                                                 size_t maxOut = 0);

// zlib uncompress into exactly out.size() bytes of room. Returns the number of bytes produced,
// or nothing when the stream is damaged (out keeps what was produced before the damage, if anything).
std::optional<size_t> zlibUncompress(const uint8_t* data, size_t size, uint8_t* out, size_t outSize);

}  // namespace quib

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quib {

// Compresses into the zlib stream format (the same bytes any zlib reader inflates) with libdeflate,
// which finds its matches several times faster than zlib itself. Levels run from 1 (fastest) to 12
// (smallest); 0 stores. Each thread keeps one compressor per level, so calls from several threads
// do not wait for each other.
class ZlibStreamCompressor {
public:
    static constexpr int kMaximumLevel = 12;

    // out is resized to the stream; false when the level is outside 0 .. 12 or memory ran out.
    static bool compress(const uint8_t* data, size_t size, int level, std::vector<uint8_t>& out);
    // The size compress would give, without keeping the stream.
    static size_t compressedSize(const uint8_t* data, size_t size, int level);
};

}  // namespace quib

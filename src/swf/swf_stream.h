#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "base/atomic_file.h"

namespace quib {

// Bytes shared between a bitmap tag and the streams that write it: the compressed block is made once
// and only referenced afterwards.
using SwfBlock = std::shared_ptr<const std::vector<uint8_t>>;

// Bit count of a variable-width field: 0 gives `extra`, otherwise the smallest n with 2^n > v, plus
// `extra` (1 for signed fields, 0 for counts).
int swfBitCount(uint64_t v, int extra);
// Signed bit count shared by several values: the largest magnitude decides.
int swfSignedBits(std::initializer_list<int64_t> values);
// Values of 5-bit-counted fields saturate at 31 signed bits rather than corrupting the bit stream.
int32_t swfClampToField(int64_t v);
// Unsigned bit count of a count.
int swfUnsignedBits(uint64_t v);

// Output stream of the writer: inline bytes filled through a bit accumulator, plus references to
// outside blocks that are written in place without being copied.
class SwfStream {
public:
    SwfStream();

    // Appends the low n bits of value (n <= 32), most significant first.
    void writeBits(uint32_t value, int n);
    void writeSignedBits(int32_t value, int n) { writeBits(uint32_t(value), n); }
    void writeU8(uint8_t v) { writeBits(v, 8); }
    void writeU16(uint16_t v);
    void writeU32(uint32_t v);
    void writeBytes(const uint8_t* data, size_t n);
    // Pads the byte being filled with zero bits.
    void align();
    // References a block at the current (aligned) position.
    void appendBlock(SwfBlock block);
    // Copies the other stream's inline bytes and keeps its block references.
    void appendStream(const SwfStream& other);

    // Logical length: inline bytes plus referenced blocks (a partly filled byte counts once aligned).
    size_t length() const;
    size_t inlineLength() const { return m_bytes.size(); }
    // Overwrites inline bytes already written (the header is filled in last).
    void patch(size_t position, const uint8_t* data, size_t n);

    // Inline bytes and blocks in order; the stream must be aligned.
    void writeTo(std::vector<uint8_t>& out) const;
    bool writeTo(AtomicFile& file) const;

private:
    struct BlockRef {
        size_t position;
        SwfBlock block;
    };
    std::vector<uint8_t> m_bytes;
    uint8_t m_current = 0;
    int m_freeBits = 8;
    std::vector<BlockRef> m_blocks;
    size_t m_blockBytes = 0;
};

}  // namespace quib

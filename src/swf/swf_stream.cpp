#include "swf_stream.h"

#include <algorithm>
#include <cstring>

namespace quib {

int swfBitCount(uint64_t v, int extra) {
    if (v == 0)
        return extra;
    int n = 1;
    while (n < 32 && (uint64_t(1) << n) <= v)
        ++n;
    return n + extra;
}

int swfSignedBits(std::initializer_list<int64_t> values) {
    uint64_t largest = 0;
    for (int64_t v : values)
        largest = std::max(largest, uint64_t(v < 0 ? -v : v));
    // Bit counts live in 5-bit fields: 31 bits is the widest a field can be.
    return std::min(swfBitCount(largest, 1), 31);
}

int32_t swfClampToField(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, -(int64_t(1) << 30), (int64_t(1) << 30) - 1));
}

int swfUnsignedBits(uint64_t v) {
    return swfBitCount(v, 0);
}

SwfStream::SwfStream() {
    m_bytes.reserve(1024);
}

void SwfStream::writeBits(uint32_t value, int n) {
    if (n == 8 && m_freeBits == 8) {
        m_bytes.push_back(uint8_t(value));
        return;
    }
    while (n > 0) {
        int take = std::min(n, m_freeBits);
        uint32_t bits = (value >> (n - take)) & ((1u << take) - 1);
        m_current = uint8_t(m_current | (bits << (m_freeBits - take)));
        m_freeBits -= take;
        n -= take;
        if (m_freeBits == 0) {
            m_bytes.push_back(m_current);
            m_current = 0;
            m_freeBits = 8;
        }
    }
}

void SwfStream::writeU16(uint16_t v) {
    writeU8(uint8_t(v));
    writeU8(uint8_t(v >> 8));
}

void SwfStream::writeU32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
        writeU8(uint8_t(v >> (8 * i)));
}

void SwfStream::writeBytes(const uint8_t* data, size_t n) {
    if (m_freeBits == 8) {
        m_bytes.insert(m_bytes.end(), data, data + n);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        writeU8(data[i]);
}

void SwfStream::align() {
    if (m_freeBits == 8)
        return;
    m_bytes.push_back(m_current);
    m_current = 0;
    m_freeBits = 8;
}

void SwfStream::appendBlock(SwfBlock block) {
    align();
    if (!block || block->empty())
        return;
    m_blockBytes += block->size();
    m_blocks.push_back({m_bytes.size(), std::move(block)});
}

void SwfStream::appendStream(const SwfStream& other) {
    align();
    size_t base = m_bytes.size();
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    for (const BlockRef& ref : other.m_blocks)
        m_blocks.push_back({base + ref.position, ref.block});
    m_blockBytes += other.m_blockBytes;
    if (other.m_freeBits != 8)
        m_bytes.push_back(other.m_current);
}

size_t SwfStream::length() const {
    return m_bytes.size() + (m_freeBits != 8 ? 1 : 0) + m_blockBytes;
}

void SwfStream::patch(size_t position, const uint8_t* data, size_t n) {
    if (position + n <= m_bytes.size())
        std::memcpy(m_bytes.data() + position, data, n);
}

void SwfStream::writeTo(std::vector<uint8_t>& out) const {
    out.reserve(out.size() + length());
    size_t done = 0;
    for (const BlockRef& ref : m_blocks) {
        out.insert(out.end(), m_bytes.begin() + done, m_bytes.begin() + ref.position);
        out.insert(out.end(), ref.block->begin(), ref.block->end());
        done = ref.position;
    }
    out.insert(out.end(), m_bytes.begin() + done, m_bytes.end());
    if (m_freeBits != 8)
        out.push_back(m_current);
}

bool SwfStream::writeTo(AtomicFile& file) const {
    size_t done = 0;
    auto put = [&file](const uint8_t* p, size_t n) { return file.write(p, n); };
    for (const BlockRef& ref : m_blocks) {
        if (!put(m_bytes.data() + done, ref.position - done))
            return false;
        if (!put(ref.block->data(), ref.block->size()))
            return false;
        done = ref.position;
    }
    if (!put(m_bytes.data() + done, m_bytes.size() - done))
        return false;
    if (m_freeBits != 8 && !put(&m_current, 1))
        return false;
    return true;
}

}  // namespace quib

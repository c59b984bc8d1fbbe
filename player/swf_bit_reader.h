#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quib::player {

// Reads the little-endian integers and the most-significant-first bit fields of a movie. Every
// read is checked against the end of the range and throws FormatError instead of running past it.
class SwfBitReader {
public:
    SwfBitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    const uint8_t* bytes(size_t n);
    std::string cString();

    uint32_t bits(int n);
    int32_t signedBits(int n);
    // Drops the bits left in the byte being read, so that the next read starts on a byte.
    void align() {
        if (m_bitPos != 0) {
            m_bitPos = 0;
            ++m_pos;
        }
    }

    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }
    void need(size_t n) const;

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    int m_bitPos = 0;  // bits already taken from m_data[m_pos]; 0 means aligned
};

}  // namespace quib::player

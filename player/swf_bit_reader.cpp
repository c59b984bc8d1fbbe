#include "swf_bit_reader.h"

#include "base/byte_stream.h"

namespace quib::player {

void SwfBitReader::need(size_t n) const {
    if (n > m_size - m_pos)
        throw FormatError("dati terminati prima del previsto");
}

uint8_t SwfBitReader::u8() {
    align();
    need(1);
    return m_data[m_pos++];
}

uint16_t SwfBitReader::u16() {
    align();
    need(2);
    uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

uint32_t SwfBitReader::u32() {
    align();
    need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(m_data[m_pos + size_t(i)]) << (8 * i);
    m_pos += 4;
    return v;
}

const uint8_t* SwfBitReader::bytes(size_t n) {
    align();
    need(n);
    const uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
}

std::string SwfBitReader::cString() {
    align();
    std::string s;
    for (;;) {
        uint8_t c = u8();
        if (c == 0)
            return s;
        s.push_back(char(c));
    }
}

uint32_t SwfBitReader::bits(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
        need(1);
        uint32_t bit = (m_data[m_pos] >> (7 - m_bitPos)) & 1u;
        v = (v << 1) | bit;
        if (++m_bitPos == 8) {
            m_bitPos = 0;
            ++m_pos;
        }
    }
    return v;
}

int32_t SwfBitReader::signedBits(int n) {
    if (n == 0)
        return 0;
    uint32_t v = bits(n);
    if (n < 32 && (v & (1u << (n - 1))))
        v |= ~((1u << n) - 1u);
    return int32_t(v);
}

}  // namespace quib::player

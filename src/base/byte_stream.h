#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"
#include "text_font.h"

namespace quib {

// Thrown by readers for a malformed or truncated input; loaders turn it into their message.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Little-endian writer appending to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void u8(uint8_t v) { m_out.push_back(v); }
    void u16(uint16_t v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    void i32(int32_t v) { put(uint32_t(v), 4); }
    void bytes(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        m_out.insert(m_out.end(), p, p + n);
    }
    void bytes(std::string_view s) { bytes(s.data(), s.size()); }
    void point(Point p) { i32(p.x), i32(p.y); }
    void size(Size s) { i32(s.cx), i32(s.cy); }
    void rect(const Rect& r) { i32(r.left), i32(r.top), i32(r.right), i32(r.bottom); }
    void textFont(const TextFont& f) { bytes(&f, sizeof f); }
    void logFont(const LogFont& f) { bytes(&f, sizeof f); }

    // Length-prefixed string of the project, template and library files: code page 1252 when every
    // character fits, otherwise the wide form (0xFF, 0xFFFE, length in characters, UTF-16LE).
    void archiveString(std::string_view utf8);
    // Clipboard string: u32 length counting a terminating zero, then the bytes and the zero.
    // Code page 1252 when every character fits, otherwise UTF-8.
    void clipboardString(std::string_view utf8);

    size_t position() const { return m_out.size(); }
    std::vector<uint8_t>& buffer() { return m_out; }

private:
    void put(uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            m_out.push_back(uint8_t(v >> (8 * i)));
    }
    void archiveLength(uint32_t n);
    std::vector<uint8_t>& m_out;
};

// Little-endian reader over a byte range; every read is checked against the bytes that remain
// and throws FormatError instead of running past the end.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : ByteReader(v.data(), v.size()) {}

    uint8_t u8() { return uint8_t(get(1)); }
    uint16_t u16() { return uint16_t(get(2)); }
    uint32_t u32() { return uint32_t(get(4)); }
    int32_t i32() { return int32_t(uint32_t(get(4))); }
    // Returns a pointer to the next n bytes and moves past them.
    const uint8_t* bytes(size_t n) {
        need(n);
        const uint8_t* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    void bytesInto(void* out, size_t n) { std::memcpy(out, bytes(n), n); }
    std::vector<uint8_t> byteVector(size_t n) {
        const uint8_t* p = bytes(n);
        return std::vector<uint8_t>(p, p + n);
    }
    // Points, sizes and rectangles are clamped to kMaxFileCoordinate: larger values mean nothing
    // on a screen and would overflow the arithmetic done with them.
    int32_t coordinate() { return clampCoordinate(i32()); }
    Point point() {
        Point p;
        p.x = coordinate();
        p.y = coordinate();
        return p;
    }
    Size size() {
        Size s;
        s.cx = coordinate();
        s.cy = coordinate();
        return s;
    }
    Rect rect() {
        Rect r;
        r.left = coordinate();
        r.top = coordinate();
        r.right = coordinate();
        r.bottom = coordinate();
        return r;
    }
    TextFont textFont() {
        TextFont f;
        bytesInto(&f, sizeof f);
        return f;
    }
    LogFont logFont() {
        LogFont f;
        bytesInto(&f, sizeof f);
        return f;
    }

    // Reads every form of the length-prefixed string (byte, u16 and u32 lengths, code page 1252,
    // and the wide UTF-16LE form) and returns UTF-8.
    std::string archiveString();
    // Reads a clipboard string (u32 length with the terminating zero) and returns UTF-8.
    std::string clipboardString();

    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos == m_size; }
    void need(size_t n) const {
        if (n > m_size - m_pos)
            throw FormatError("unexpected end of data");
    }

private:
    uint64_t get(int n) {
        need(size_t(n));
        uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= uint64_t(m_data[m_pos + size_t(i)]) << (8 * i);
        m_pos += size_t(n);
        return v;
    }
    uint32_t archiveLength(bool& wide);
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace quib

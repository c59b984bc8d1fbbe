#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "base/progress.h"
#include "base/text_font.h"

namespace quib::test {

// Little-endian bytes written from a format's layout, apart from the writers under test.
struct RawBytes {
    std::vector<uint8_t> b;
    RawBytes& u8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    RawBytes& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    RawBytes& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    RawBytes& pair(int32_t a, int32_t b) { return u32(uint32_t(a)).u32(uint32_t(b)); }
    RawBytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return u32(uint32_t(bits)).u32(uint32_t(bits >> 32));
    }
    RawBytes& raw(const std::vector<uint8_t>& v) {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    RawBytes& chars(const std::string& s) { return raw({s.begin(), s.end()}); }
    // A string with a one-byte length.
    RawBytes& text(const std::string& s) { return u8(uint8_t(s.size())).chars(s); }
    // A string with a u32 length that counts its terminating zero.
    RawBytes& zeroEnded(const std::string& s) { return u32(uint32_t(s.size() + 1)).chars(s).u8(0); }
    RawBytes& zeros(size_t n) { return raw(std::vector<uint8_t>(n, 0)); }
    // A stored text font: the 60-byte font record, colour and alignment.
    RawBytes& font(uint32_t height, const char* face, uint32_t color, uint32_t align, uint32_t weight = 700,
                   uint8_t italic = 1) {
        u32(height).u32(0).u32(0).u32(0).u32(weight).u8(italic).zeros(7);
        std::vector<uint8_t> name(32, 0);
        std::memcpy(name.data(), face, std::strlen(face));
        return raw(name).u32(color).u32(align);
    }
};

// Pictures of one colour.
inline Bitmap24 solidImage(Size size, uint8_t b, uint8_t g, uint8_t r) {
    Bitmap24 image(size.cx, size.cy);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = std::array{b, g, r}[i % 3];
    return image;
}
inline Bitmap24 solidImage(Size size, uint32_t rgbColour) {
    return solidImage(size, blueOf(rgbColour), greenOf(rgbColour), redOf(rgbColour));
}
inline Bitmap32 solidPicture32(int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    Bitmap32 picture(width, height);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = std::array{b, g, r, a}[i % 4];
    return picture;
}

// Pseudo-random pixels, which no compressor makes small; the seed picks the picture.
inline Bitmap24 noisePicture(int width, int height, uint32_t seed = 12345) {
    Bitmap24 picture(width, height);
    for (uint8_t& byte : picture.pixels) {
        seed = seed * 1664525u + 1013904223u;
        byte = uint8_t(seed >> 24);
    }
    return picture;
}

// A one-row picture holding the given colours (red, green, blue) from left to right.
inline Bitmap24 rowPicture(std::initializer_list<std::array<uint8_t, 3>> colours) {
    Bitmap24 picture(int32_t(colours.size()), 1);
    int x = 0;
    for (const auto& [r, g, b] : colours)
        std::copy_n(std::array{b, g, r}.begin(), 3, picture.pixel(x++, 0));
    return picture;
}

inline void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// Records what an operation reports: every text, the range and every position set. Cancels once a
// position reaches cancelAt (never when negative).
struct RecordingProgress : Progress {
    explicit RecordingProgress(int cancelAt = -1) : cancelAt(cancelAt) {}
    std::vector<std::string> texts;
    std::pair<int, int> range{-1, -1};
    std::vector<int> positions;
    int cancelAt;
    void setText(const std::string& t) override { texts.push_back(t); }
    void setRange(int l, int h) override { range = {l, h}; }
    void setPosition(int p) override { positions.push_back(p); }
    bool cancelled() const override {
        return cancelAt >= 0 && !positions.empty() && positions.back() >= cancelAt;
    }
};

}  // namespace quib::test

#pragma once

#include <cstdint>

namespace quib::player {

// A colour as the movie gives it: straight red, green, blue and alpha.
struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Pixels of a Picture: 0xAARRGGBB, colour premultiplied by alpha, so that in memory they are the
// blue, green, red, alpha bytes that X11 images and device-independent bitmaps take.
using Pixel = uint32_t;

inline Pixel packPixel(int r, int g, int b, int a = 255) {
    return Pixel(a) << 24 | Pixel(r) << 16 | Pixel(g) << 8 | Pixel(b);
}
inline int pixelAlpha(Pixel p) {
    return int(p >> 24);
}
inline int pixelRed(Pixel p) {
    return int(p >> 16) & 0xFF;
}
inline int pixelGreen(Pixel p) {
    return int(p >> 8) & 0xFF;
}
inline int pixelBlue(Pixel p) {
    return int(p) & 0xFF;
}

// x * a / 255 rounded to nearest, for premultiplying a colour.
inline uint32_t divideBy255(uint32_t xa) {
    const uint32_t t = xa + 0x80;
    return (t + (t >> 8)) >> 8;
}

// x * a / 255 as blending rounds it: the result of a blend is then the same on every platform.
inline uint32_t multiplyByte(uint32_t x, uint32_t a) {
    const uint32_t t = x * a;
    return (t + (t >> 8) + 0x80) >> 8;
}

inline Pixel premultiplied(Rgba c) {
    return packPixel(int(divideBy255(c.r * c.a)), int(divideBy255(c.g * c.a)), int(divideBy255(c.b * c.a)),
                     c.a);
}

// Source over destination, both premultiplied.
inline Pixel blendOver(Pixel src, Pixel dst) {
    const uint32_t a = src >> 24;
    if (a == 255)
        return src;
    if (a == 0)
        return dst;
    const uint32_t rest = 255 - a;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t channel = ((src >> shift) & 0xFF) + multiplyByte((dst >> shift) & 0xFF, rest);
        out |= (channel > 255 ? 255 : channel) << shift;
    }
    return out;
}

}  // namespace quib::player

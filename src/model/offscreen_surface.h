#pragma once

#include <QImage>
#include <cstdint>

namespace quib {

// A reusable top-down drawing surface for text elements. Repaints of an element of unchanged size
// draw into the same pixels instead of allocating a new picture each time.
class OffscreenSurface {
public:
    // Keeps the existing pixels when width and height are unchanged (and bits matches), otherwise
    // recreates them. bits is 24 (blue, green, red) or 32 (blue, green, red, alpha). Returns
    // whether a pixel buffer exists afterwards.
    bool EnsureSurface(int width, int height, int bits);
    void release() { m_image = QImage(); }

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    int bitsPerPixel() const { return m_image.isNull() ? 0 : m_image.depth(); }
    // Row stride in bytes: width x bytes per pixel rounded up to a multiple of 4.
    int stride() const { return int(m_image.bytesPerLine()); }
    uint8_t* pixels() { return m_image.bits(); }
    const uint8_t* pixels() const { return m_image.constBits(); }
    // The surface as a picture to draw on (ARGB32 for 32 bits, not premultiplied).
    QImage& image() { return m_image; }

private:
    QImage m_image;
};

// The two surfaces a document keeps for composing its frames.
struct CompositionSurfaces {
    OffscreenSurface textBox;
    OffscreenSurface title;
};

}  // namespace quib

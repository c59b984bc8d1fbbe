#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "swf_bitmap.h"
#include "swf_display_object.h"
#include "swf_records.h"

namespace quib {

class SwfMovie;

// An axis-aligned rectangle with an optional outline, filled with a colour, a gradient or a bitmap.
class ShapeObject : public DisplayObject {
public:
    enum class FillKind { Solid = 1, LinearGradient = 2, RadialGradient = 3, Bitmap = 4 };

    ShapeObject() = default;
    ShapeObject(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { setBounds(x1, y1, x2, y2); }

    // Inclusive bounds in pixels.
    void setBounds(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    int32_t x1() const { return m_x1; }
    int32_t y1() const { return m_y1; }
    int32_t x2() const { return m_x2; }
    int32_t y2() const { return m_y2; }

    // In twips: 20 is one pixel.
    void setLineWidth(uint16_t width) { m_lineWidth = width; }
    void setLineColor(SwfColor color) { m_lineColor = color; }
    void setFillColor(SwfColor color);
    void setGradient(FillKind kind, const SwfMatrix& matrix, std::vector<SwfGradientRecord> records);
    // Builds and compresses the bitmap at once, taking the movie's next character id; the object
    // counts as not yet defined. On failure the object has no fill and placing it fails.
    Status setBitmap(SwfMovie& movie, const SwfBitmapDescription& bitmap);
    FillKind fillKind() const { return m_fillKind; }
    // Size of the compressed pixel data while the bitmap is still held (before the first placement).
    size_t bitmapCompressedSize() const { return m_bitmapTag ? m_bitmapTag->compressedSize() : 0; }
    // The same data, still readable after the placement has taken the bitmap (invalid without one).
    std::shared_future<SwfBlock> bitmapDataWhenReady() const {
        return m_bitmapTag ? m_bitmapTag->compressedDataWhenReady() : std::shared_future<SwfBlock>();
    }
    uint16_t bitmapId() const { return m_bitmapId; }

    // In pixels.
    void setTranslate(int32_t x, int32_t y) {
        m_translateX = x;
        m_translateY = y;
    }
    int32_t translateX() const { return m_translateX; }
    int32_t translateY() const { return m_translateY; }
    // Degrees in 16.16 fixed point.
    void setRotation(int32_t degrees16) { m_rotation = degrees16; }
    // 16.16 fixed point, 65536 = 1.0.
    void setScale(int32_t sx, int32_t sy) {
        m_scaleX = sx;
        m_scaleY = sy;
    }

    bool hasMatrix() const override;
    SwfMatrix matrix() const override;

protected:
    bool emitDefinition(SwfFrame& frame) override;

private:
    int32_t m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    uint16_t m_lineWidth = 20;
    SwfColor m_lineColor{0, 0, 0, 255};
    FillKind m_fillKind = FillKind::Solid;
    SwfColor m_fillColor{255, 255, 255, 255};
    SwfMatrix m_gradientMatrix;
    std::vector<SwfGradientRecord> m_gradient;
    std::unique_ptr<SwfDefineBitsLosslessTag> m_bitmapTag;
    std::string m_bitmapError;
    uint16_t m_bitmapId = 0;
    const SwfMovie* m_bitmapMovie = nullptr;  // whose id the bitmap carries
    uint64_t m_bitmapGeneration = 0;
    int m_bitmapWidth = 0, m_bitmapHeight = 0;
    int32_t m_translateX = 0, m_translateY = 0;
    int32_t m_rotation = 0;
    int32_t m_scaleX = 65536, m_scaleY = 65536;
};

// A shape showing a lossless bitmap over its bounds, without outline.
class BitmapObject : public ShapeObject {
public:
    BitmapObject(SwfMovie& movie, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                 const SwfBitmapDescription& bitmap);
    // Whether the bitmap could be built; a failed one must not be placed.
    const Status& status() const { return m_status; }
    bool ok() const { return m_status.ok(); }

private:
    Status m_status;
};

}  // namespace quib

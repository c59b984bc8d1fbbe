#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "swf_actions.h"

namespace quib {

class SwfStream;

struct SwfColor {
    uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    void encodeRgb(SwfStream& out) const;
    void encodeRgba(SwfStream& out) const;
    friend bool operator==(const SwfColor&, const SwfColor&) = default;
};

// Callers give positions and sizes in pixels; the file measures them in twips, twenty to a pixel,
// so that every player shows the movie one pixel per pixel at its natural size.
inline constexpr int32_t kSwfTwipsPerPixel = 20;

struct SwfRect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    void encode(SwfStream& out) const;
};

// 16.16 scale and skew, translation in twips. The identity is written as one zero byte.
struct SwfMatrix {
    bool identity = true;
    bool hasScale = false;
    int32_t scaleX = 65536, scaleY = 65536;
    bool hasRotate = false;
    int32_t rotateSkew0 = 0, rotateSkew1 = 0;
    int32_t translateX = 0, translateY = 0;

    static SwfMatrix makeIdentity() { return SwfMatrix(); }
    static SwfMatrix scaleTranslate(int32_t sx, int32_t sy, int32_t tx, int32_t ty);
    void encode(SwfStream& out) const;
};

// The only colour transform the movies carry: no add or multiply terms (the byte 0x04).
struct SwfEmptyColorTransform {
    void encode(SwfStream& out) const;
};

struct SwfGradientRecord {
    uint8_t ratio = 0;
    SwfColor color;
};

struct SwfFillStyle {
    enum Type : uint8_t {
        Solid = 0x00,
        LinearGradient = 0x10,
        RadialGradient = 0x12,
        RepeatingBitmap = 0x40,
        ClippedBitmap = 0x41
    };
    Type type = Solid;
    SwfColor color;                           // Solid
    SwfMatrix matrix;                         // gradients and bitmaps
    std::vector<SwfGradientRecord> gradient;  // gradients
    uint16_t bitmapId = 0;                    // bitmaps

    void encode(SwfStream& out) const;
};

struct SwfLineStyle {
    uint16_t width = 0;
    SwfColor color;
    void encode(SwfStream& out) const;
};

// Count byte, or 255 and a u16 for 255 styles or more.
void encodeStyleCount(size_t count, SwfStream& out);

struct SwfStyleChangeRecord {
    bool newStyles = false;
    std::optional<uint32_t> lineStyle;
    std::optional<uint32_t> fillStyle1;
    std::optional<uint32_t> fillStyle0;
    std::optional<std::pair<int32_t, int32_t>> moveTo;
};

struct SwfStraightEdgeRecord {
    int32_t dx = 0, dy = 0;
};

struct SwfEndShapeRecord {};

struct SwfShapeRecord {
    enum Kind { StyleChange, StraightEdge, EndShape } kind = EndShape;
    SwfStyleChangeRecord styleChange;
    SwfStraightEdgeRecord edge;

    static SwfShapeRecord makeStyleChange(SwfStyleChangeRecord r);
    static SwfShapeRecord makeEdge(int32_t dx, int32_t dy);
    static SwfShapeRecord makeEnd() { return SwfShapeRecord(); }
    // Unaligned: records follow each other bit by bit; the end record aligns.
    void encode(SwfStream& out, int fillBits, int lineBits) const;
};

struct SwfButtonRecord {
    bool stateHitTest = false, stateDown = false, stateOver = false, stateUp = false;
    uint16_t characterId = 0;
    uint16_t placeDepth = 1;
    SwfMatrix matrix;

    void encode(SwfStream& out) const;
};

struct SwfButtonCondAction {
    uint16_t conditions = 0;  // low byte written first
    SwfActionList actions;

    // Size field: 0 for the last record, else conditions + actions + end byte + 2.
    void encode(SwfStream& out, bool last) const;
};

}  // namespace quib

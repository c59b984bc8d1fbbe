#include "swf_records.h"

#include <algorithm>
#include <cstdlib>

#include "swf_stream.h"

namespace quib {

void SwfColor::encodeRgb(SwfStream& out) const {
    out.writeU8(red);
    out.writeU8(green);
    out.writeU8(blue);
}

void SwfColor::encodeRgba(SwfStream& out) const {
    encodeRgb(out);
    out.writeU8(alpha);
}

void SwfRect::encode(SwfStream& out) const {
    int32_t xMin = swfClampToField(this->xMin), xMax = swfClampToField(this->xMax);
    int32_t yMin = swfClampToField(this->yMin), yMax = swfClampToField(this->yMax);
    out.align();
    int n = swfSignedBits({xMin, xMax, yMin, yMax});
    out.writeBits(uint32_t(n), 5);
    out.writeSignedBits(xMin, n);
    out.writeSignedBits(xMax, n);
    out.writeSignedBits(yMin, n);
    out.writeSignedBits(yMax, n);
    out.align();
}

SwfMatrix SwfMatrix::scaleTranslate(int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
    SwfMatrix m;
    m.identity = false;
    m.hasScale = true;
    m.scaleX = sx;
    m.scaleY = sy;
    m.translateX = tx;
    m.translateY = ty;
    return m;
}

void SwfMatrix::encode(SwfStream& out) const {
    out.align();
    if (identity) {
        out.writeU8(0);
        return;
    }
    int32_t scaleX = swfClampToField(this->scaleX), scaleY = swfClampToField(this->scaleY);
    int32_t rotateSkew0 = swfClampToField(this->rotateSkew0),
            rotateSkew1 = swfClampToField(this->rotateSkew1);
    int32_t translateX = swfClampToField(this->translateX), translateY = swfClampToField(this->translateY);
    out.writeBits(hasScale ? 1 : 0, 1);
    if (hasScale) {
        int n = swfSignedBits({scaleX, scaleY});
        out.writeBits(uint32_t(n), 5);
        out.writeSignedBits(scaleX, n);
        out.writeSignedBits(scaleY, n);
    }
    out.writeBits(hasRotate ? 1 : 0, 1);
    if (hasRotate) {
        int n = swfSignedBits({rotateSkew0, rotateSkew1});
        out.writeBits(uint32_t(n), 5);
        out.writeSignedBits(rotateSkew0, n);
        out.writeSignedBits(rotateSkew1, n);
    }
    int n = swfSignedBits({translateX, translateY});
    out.writeBits(uint32_t(n), 5);
    out.writeSignedBits(translateX, n);
    out.writeSignedBits(translateY, n);
    out.align();
}

void SwfEmptyColorTransform::encode(SwfStream& out) const {
    out.align();
    out.writeBits(0, 1);  // HasAddTerms
    out.writeBits(0, 1);  // HasMultTerms
    out.writeBits(1, 4);  // Nbits
    out.align();
}

void SwfFillStyle::encode(SwfStream& out) const {
    out.writeU8(type);
    switch (type) {
        case Solid:
            color.encodeRgba(out);
            break;
        case LinearGradient:
        case RadialGradient:
            matrix.encode(out);
            out.writeU8(uint8_t(gradient.size()));
            for (const SwfGradientRecord& g : gradient) {
                out.writeU8(g.ratio);
                g.color.encodeRgba(out);
            }
            break;
        case RepeatingBitmap:
        case ClippedBitmap:
            out.writeU16(bitmapId);
            matrix.encode(out);
            break;
    }
}

void SwfLineStyle::encode(SwfStream& out) const {
    out.writeU16(width);
    color.encodeRgba(out);
}

void encodeStyleCount(size_t count, SwfStream& out) {
    if (count >= 255) {
        out.writeU8(255);
        out.writeU16(uint16_t(count));
    } else {
        out.writeU8(uint8_t(count));
    }
}

SwfShapeRecord SwfShapeRecord::makeStyleChange(SwfStyleChangeRecord r) {
    SwfShapeRecord s;
    s.kind = StyleChange;
    s.styleChange = r;
    return s;
}

SwfShapeRecord SwfShapeRecord::makeEdge(int32_t dx, int32_t dy) {
    SwfShapeRecord s;
    s.kind = StraightEdge;
    s.edge = {dx, dy};
    return s;
}

void SwfShapeRecord::encode(SwfStream& out, int fillBits, int lineBits) const {
    switch (kind) {
        case StyleChange: {
            const SwfStyleChangeRecord& r = styleChange;
            out.writeBits(0, 1);
            out.writeBits(r.newStyles ? 1 : 0, 1);
            out.writeBits(r.lineStyle ? 1 : 0, 1);
            out.writeBits(r.fillStyle1 ? 1 : 0, 1);
            out.writeBits(r.fillStyle0 ? 1 : 0, 1);
            out.writeBits(r.moveTo ? 1 : 0, 1);
            if (r.moveTo) {
                int32_t x = swfClampToField(r.moveTo->first), y = swfClampToField(r.moveTo->second);
                int n = swfSignedBits({x, y});
                out.writeBits(uint32_t(n), 5);
                out.writeSignedBits(x, n);
                out.writeSignedBits(y, n);
            }
            if (r.fillStyle0)
                out.writeBits(*r.fillStyle0, fillBits);
            if (r.fillStyle1)
                out.writeBits(*r.fillStyle1, fillBits);
            if (r.lineStyle)
                out.writeBits(*r.lineStyle, lineBits);
            break;
        }
        case StraightEdge: {
            int32_t dx = edge.dx, dy = edge.dy;
            int64_t larger = std::max(std::llabs(dx), std::llabs(dy));
            // The field stores NumBits - 2, so two bits is the least (a zero edge still encodes).
            int n = std::max(swfSignedBits({larger}), 2);
            out.writeBits(1, 1);
            out.writeBits(1, 1);
            out.writeBits(uint32_t(n - 2), 4);
            bool general = dx != 0 && dy != 0;
            out.writeBits(general ? 1 : 0, 1);
            if (general) {
                out.writeSignedBits(dx, n);
                out.writeSignedBits(dy, n);
            } else {
                bool vertical = dx == 0;
                out.writeBits(vertical ? 1 : 0, 1);
                out.writeSignedBits(vertical ? dy : dx, n);
            }
            break;
        }
        case EndShape:
            out.writeBits(0, 6);
            out.align();
            break;
    }
}

void SwfButtonRecord::encode(SwfStream& out) const {
    out.align();
    out.writeBits(0, 4);
    out.writeBits(stateHitTest ? 1 : 0, 1);
    out.writeBits(stateDown ? 1 : 0, 1);
    out.writeBits(stateOver ? 1 : 0, 1);
    out.writeBits(stateUp ? 1 : 0, 1);
    out.writeU16(characterId);
    out.writeU16(placeDepth);
    matrix.encode(out);
    SwfEmptyColorTransform().encode(out);
}

void SwfButtonCondAction::encode(SwfStream& out, bool last) const {
    SwfStream body;
    body.writeU16(conditions);
    encodeActionList(actions, body);
    out.writeU16(last ? 0 : uint16_t(body.length() + 2));
    out.appendStream(body);
}

}  // namespace quib

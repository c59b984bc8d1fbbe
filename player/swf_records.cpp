#include "swf_records.h"

namespace quib::player {

RectF readRect(SwfBitReader& in) {
    int n = int(in.bits(5));
    int xMin = in.signedBits(n);
    int xMax = in.signedBits(n);
    int yMin = in.signedBits(n);
    int yMax = in.signedBits(n);
    in.align();
    return RectF{double(xMin), double(yMin), double(xMax), double(yMax)};
}

Transform readMatrix(SwfBitReader& in) {
    double scaleX = 1, scaleY = 1, skew0 = 0, skew1 = 0;
    if (in.bits(1)) {
        int n = int(in.bits(5));
        scaleX = in.signedBits(n) / 65536.0;
        scaleY = in.signedBits(n) / 65536.0;
    }
    if (in.bits(1)) {
        int n = int(in.bits(5));
        skew0 = in.signedBits(n) / 65536.0;
        skew1 = in.signedBits(n) / 65536.0;
    }
    int n = int(in.bits(5));
    int tx = in.signedBits(n);
    int ty = in.signedBits(n);
    in.align();
    // x' = scaleX x + skew1 y + tx, y' = skew0 x + scaleY y + ty
    return Transform{scaleX, skew0, skew1, scaleY, double(tx), double(ty)};
}

Rgba readRgb(SwfBitReader& in) {
    const uint8_t* p = in.bytes(3);
    return Rgba{p[0], p[1], p[2], 255};
}

Rgba readRgba(SwfBitReader& in) {
    const uint8_t* p = in.bytes(4);
    return Rgba{p[0], p[1], p[2], p[3]};
}

void skipColorTransformWithAlpha(SwfBitReader& in) {
    bool hasAdd = in.bits(1);
    bool hasMult = in.bits(1);
    int n = int(in.bits(4));
    if (hasMult)
        in.bits(4 * n);
    if (hasAdd)
        in.bits(4 * n);
    in.align();
}

ActionList readActions(SwfBitReader& in) {
    ActionList list;
    for (;;) {
        uint8_t code = in.u8();
        if (code == 0)
            return list;
        Action a;
        a.code = code;
        size_t length = 0;
        if (code >= 0x80)
            length = in.u16();
        SwfBitReader body(in.bytes(length), length);
        switch (code) {
            case 0x04:
                a.kind = Action::Kind::NextFrame;
                break;
            case 0x05:
                a.kind = Action::Kind::PreviousFrame;
                break;
            case 0x06:
                a.kind = Action::Kind::Play;
                break;
            case 0x07:
                a.kind = Action::Kind::Stop;
                break;
            case 0x81:
                a.kind = Action::Kind::GotoFrame;
                a.frame = body.u16();
                break;
            default:
                a.kind = Action::Kind::Unknown;
                break;
        }
        list.push_back(a);
    }
}

}  // namespace quib::player

#include "swf_test_decoder.h"

#include <zlib.h>

#include "base/byte_stream.h"
#include "swf_records.h"

namespace swftest {

using quib::FormatError;

namespace {

void expect(bool condition, const char* what) {
    if (!condition)
        throw FormatError(what);
}

BitReader bodyOf(const Tag& tag, int code, const char* what) {
    expect(tag.code == code, what);
    return readerOf(tag.body);
}

std::vector<uint8_t> bytesOf(BitReader& in, size_t n) {
    const uint8_t* p = in.bytes(n);
    return std::vector<uint8_t>(p, p + n);
}

}  // namespace

std::vector<std::vector<const Tag*>> Movie::frames() const {
    std::vector<std::vector<const Tag*>> out;
    std::vector<const Tag*> current;
    for (const Tag& t : tags) {
        if (t.code == 1) {
            out.push_back(current);
            current.clear();
        } else if (t.code != 0) {
            current.push_back(&t);
        }
    }
    return out;
}

int Movie::showFrameCount() const {
    int n = 0;
    for (const Tag& t : tags)
        n += t.code == 1;
    return n;
}

Tag readTag(BitReader& in) {
    Tag tag;
    uint16_t codeAndLength = in.u16();
    tag.code = codeAndLength >> 6;
    uint32_t length = codeAndLength & 0x3F;
    if (length == 0x3F)
        length = in.u32();
    tag.body = bytesOf(in, length);
    return tag;
}

Movie decodeMovie(const std::vector<uint8_t>& file) {
    BitReader in = readerOf(file);
    Movie movie;
    Header& h = movie.header;
    const std::vector<uint8_t> signature = bytesOf(in, 3);
    h.signature.assign(signature.begin(), signature.end());
    in.u8();  // version
    h.fileLength = in.u32();
    Rect r = swftest::readRect(in);
    h.rectBits = r.bits;
    h.xMin = r.xMin, h.xMax = r.xMax, h.yMin = r.yMin, h.yMax = r.yMax;
    in.u8();  // fraction of the rate
    h.rate = in.u8();
    h.frameCount = in.u16();
    while (!in.atEnd()) {
        movie.tags.push_back(readTag(in));
        if (movie.tags.back().code == 0)
            break;
    }
    expect(in.atEnd(), "bytes after the End tag");
    return movie;
}

Rect readRect(BitReader& in) {
    in.align();
    Rect r;
    r.bits = int(in.bits(5));
    r.xMin = in.signedBits(r.bits);
    r.xMax = in.signedBits(r.bits);
    r.yMin = in.signedBits(r.bits);
    r.yMax = in.signedBits(r.bits);
    in.align();
    return r;
}

static Matrix readMatrix(BitReader& in) {
    in.align();
    Matrix m;
    m.hasScale = in.bits(1);
    if (m.hasScale) {
        const int bits = int(in.bits(5));
        m.scaleX = in.signedBits(bits);
        m.scaleY = in.signedBits(bits);
    }
    m.hasRotate = in.bits(1);
    if (m.hasRotate)
        in.bits(2 * int(in.bits(5)));
    const int bits = int(in.bits(5));
    m.translateX = in.signedBits(bits);
    m.translateY = in.signedBits(bits);
    in.align();
    return m;
}

PlaceObject2 parsePlaceObject2(const Tag& tag) {
    BitReader in = bodyOf(tag, 26, "not PlaceObject2");
    PlaceObject2 p;
    p.flags = in.u8();
    p.depth = in.u16();
    if (p.flags & 0x02)
        p.characterId = in.u16();
    if (p.flags & 0x04)
        p.matrix = swftest::readMatrix(in);
    expect(!(p.flags & 0xF8), "unexpected PlaceObject2 fields");
    expect(in.atEnd(), "PlaceObject2 has trailing bytes");
    return p;
}

RemoveObject parseRemoveObject(const Tag& tag) {
    BitReader in = bodyOf(tag, 5, "not RemoveObject");
    expect(tag.body.size() == 4, "RemoveObject is not 4 bytes");
    return {in.u16(), in.u16()};
}

BitsLossless parseBitsLossless(const Tag& tag) {
    expect(tag.code == 20 || tag.code == 36, "not DefineBitsLossless");
    BitReader in = readerOf(tag.body);
    BitsLossless b;
    b.characterId = in.u16();
    b.format = in.u8();
    b.width = in.u16();
    b.height = in.u16();
    if (b.format == 3)
        b.colorTableSize = in.u8() + 1;
    const std::vector<uint8_t> compressed = bytesOf(in, in.remaining());

    size_t entry = tag.code == 36 ? 4 : 3;
    size_t row = b.format == 3 ? (size_t(b.width) + 3) / 4 * 4 : size_t(b.width) * 4;
    size_t expected = size_t(b.colorTableSize) * entry + row * size_t(b.height);
    b.data.resize(expected + 1);
    uLongf produced = uLongf(b.data.size());
    expect(uncompress(b.data.data(), &produced, compressed.data(), uLong(compressed.size())) == Z_OK,
           "bitmap data does not inflate");
    b.data.resize(produced);
    expect(produced == expected, "bitmap data has the wrong size");
    return b;
}

DefineShape3 parseDefineShape3(const Tag& tag) {
    BitReader in = bodyOf(tag, 32, "not DefineShape3");
    DefineShape3 s;
    s.characterId = in.u16();
    s.bounds = swftest::readRect(in);
    auto count = [&in]() -> size_t {
        size_t n = in.u8();
        return n == 255 ? in.u16() : n;
    };
    for (size_t i = count(); i > 0; --i) {
        FillStyle& f = s.fills.emplace_back();
        f.type = in.u8();
        if (f.type == 0x00) {
            for (uint8_t& c : f.color)
                c = in.u8();
        } else if (f.type == 0x10 || f.type == 0x12) {
            f.matrix = swftest::readMatrix(in);
            for (int g = in.u8(); g > 0; --g) {
                int ratio = in.u8();
                f.gradient.push_back({ratio, bytesOf(in, 4)});
            }
        } else {
            expect(f.type == 0x40 || f.type == 0x41, "unknown fill style");
            f.bitmapId = in.u16();
            f.matrix = swftest::readMatrix(in);
        }
    }
    for (size_t i = count(); i > 0; --i) {
        LineStyle& l = s.lines.emplace_back();
        l.width = in.u16();
        for (uint8_t& c : l.color)
            c = in.u8();
    }
    s.fillBits = int(in.bits(4));
    s.lineBits = int(in.bits(4));
    for (;;) {
        ShapeRecord& r = s.records.emplace_back();
        if (!in.bits(1)) {
            uint32_t flags = in.bits(5);
            if (flags == 0)
                break;
            r.kind = ShapeRecord::StyleChange;
            expect(!(flags & 0x10), "new styles not expected");
            r.hasLine = flags & 0x08;
            r.hasFill1 = flags & 0x04;
            r.hasFill0 = flags & 0x02;
            r.hasMove = flags & 0x01;
            if (r.hasMove) {
                r.moveBits = int(in.bits(5));
                r.moveX = in.signedBits(r.moveBits);
                r.moveY = in.signedBits(r.moveBits);
            }
            if (r.hasFill0)
                r.fill0 = in.bits(s.fillBits);
            if (r.hasFill1)
                r.fill1 = in.bits(s.fillBits);
            if (r.hasLine)
                r.line = in.bits(s.lineBits);
        } else {
            r.kind = ShapeRecord::Edge;
            expect(in.bits(1), "curves not expected");
            r.numBits = int(in.bits(4)) + 2;
            r.general = in.bits(1);
            if (r.general) {
                r.dx = in.signedBits(r.numBits);
                r.dy = in.signedBits(r.numBits);
            } else {
                r.vertical = in.bits(1);
                (r.vertical ? r.dy : r.dx) = in.signedBits(r.numBits);
            }
        }
    }
    in.align();
    s.unreadBytes = in.remaining();
    return s;
}

DefineButton2 parseDefineButton2(const Tag& tag) {
    BitReader in = bodyOf(tag, 34, "not DefineButton2");
    DefineButton2 b;
    b.characterId = in.u16();
    in.u8();  // flags
    const size_t offsetPosition = in.position();
    const uint16_t actionOffset = in.u16();
    while (in.u8() != 0) {
        in.u16();  // character
        in.u16();  // depth
        quib::player::readMatrix(in);
        quib::player::skipColorTransformWithAlpha(in);
    }
    if (actionOffset != 0) {
        expect(offsetPosition + actionOffset == in.position(),
               "action offset does not point past the button records");
        for (;;) {
            const size_t start = in.position();
            ButtonCondAction& c = b.conditions.emplace_back();
            c.size = in.u16();
            c.conditionBytes[0] = in.u8();
            c.conditionBytes[1] = in.u8();
            c.actions = quib::player::readActions(in);
            expect(c.size == 0 || start + c.size == in.position(), "conditional action size does not match");
            if (c.size == 0)
                break;
        }
    }
    expect(in.atEnd(), "DefineButton2 has trailing bytes");
    return b;
}

quib::player::ActionList parseDoAction(const Tag& tag) {
    BitReader in = bodyOf(tag, 12, "not DoAction");
    auto actions = quib::player::readActions(in);
    expect(in.atEnd(), "DoAction has trailing bytes");
    return actions;
}

}  // namespace swftest

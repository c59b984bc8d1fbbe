#include "swf_test_decoder.h"

#include <zlib.h>

namespace swftest {

uint32_t BitReader::ub(int n) {
    if (n < 0 || n > 32)
        throw DecodeError("bad bit count");
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
        if (m_pos >= m_size)
            throw DecodeError("bits past the end");
        int bit = (m_data[m_pos] >> (7 - m_bit)) & 1;
        v = (v << 1) | uint32_t(bit);
        if (++m_bit == 8) {
            m_bit = 0;
            ++m_pos;
        }
    }
    return v;
}

int32_t BitReader::sb(int n) {
    if (n == 0)
        return 0;
    uint32_t v = ub(n);
    if (n < 32 && (v & (1u << (n - 1))))
        v |= ~((1u << n) - 1);
    return int32_t(v);
}

void BitReader::align() {
    if (m_bit != 0) {
        m_bit = 0;
        ++m_pos;
    }
}

uint8_t BitReader::u8() {
    align();
    if (m_pos >= m_size)
        throw DecodeError("byte past the end");
    return m_data[m_pos++];
}

uint16_t BitReader::u16() {
    uint16_t lo = u8();
    return uint16_t(lo | (u8() << 8));
}

uint32_t BitReader::u32() {
    uint32_t lo = u16();
    return lo | (uint32_t(u16()) << 16);
}

std::vector<uint8_t> BitReader::bytes(size_t n) {
    align();
    if (n > remaining())
        throw DecodeError("block past the end");
    std::vector<uint8_t> out(m_data + m_pos, m_data + m_pos + n);
    m_pos += n;
    return out;
}

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

Movie decodeMovie(const std::vector<uint8_t>& file) {
    BitReader in(file);
    Movie movie;
    Header& h = movie.header;
    auto sig = in.bytes(3);
    h.signature.assign(sig.begin(), sig.end());
    h.version = in.u8();
    h.fileLength = in.u32();
    Rect r = readRect(in);
    h.rectBits = r.bits;
    h.xMin = r.xMin, h.xMax = r.xMax, h.yMin = r.yMin, h.yMax = r.yMax;
    h.rateFraction = in.u8();
    h.rate = in.u8();
    h.frameCount = in.u16();
    while (!in.atEnd()) {
        Tag tag;
        tag.offset = in.position();
        uint16_t codeAndLength = in.u16();
        tag.code = codeAndLength >> 6;
        uint32_t length = codeAndLength & 0x3F;
        if (length == 0x3F) {
            tag.longHeader = true;
            length = in.u32();
        }
        tag.body = in.bytes(length);
        movie.tags.push_back(std::move(tag));
        if (movie.tags.back().code == 0)
            break;
    }
    if (!in.atEnd())
        throw DecodeError("bytes after the End tag");
    return movie;
}

Rect readRect(BitReader& in) {
    in.align();
    Rect r;
    r.bits = int(in.ub(5));
    r.xMin = in.sb(r.bits);
    r.xMax = in.sb(r.bits);
    r.yMin = in.sb(r.bits);
    r.yMax = in.sb(r.bits);
    in.align();
    return r;
}

Matrix readMatrix(BitReader& in) {
    in.align();
    Matrix m;
    m.hasScale = in.ub(1);
    if (m.hasScale) {
        m.scaleBits = int(in.ub(5));
        m.scaleX = in.sb(m.scaleBits);
        m.scaleY = in.sb(m.scaleBits);
    }
    m.hasRotate = in.ub(1);
    if (m.hasRotate) {
        m.rotateBits = int(in.ub(5));
        m.rotateSkew0 = in.sb(m.rotateBits);
        m.rotateSkew1 = in.sb(m.rotateBits);
    }
    m.translateBits = int(in.ub(5));
    m.translateX = in.sb(m.translateBits);
    m.translateY = in.sb(m.translateBits);
    in.align();
    return m;
}

ColorTransform readColorTransformWithAlpha(BitReader& in) {
    in.align();
    ColorTransform c;
    c.hasAdd = in.ub(1);
    c.hasMult = in.ub(1);
    c.bits = int(in.ub(4));
    int terms = (c.hasAdd ? 4 : 0) + (c.hasMult ? 4 : 0);
    for (int i = 0; i < terms; ++i)
        in.sb(c.bits);
    in.align();
    return c;
}

int Action::gotoFrame() const {
    if (code != 0x81 || data.size() != 2)
        throw DecodeError("not a GotoFrame");
    return data[0] | (data[1] << 8);
}

std::vector<Action> readActions(BitReader& in) {
    std::vector<Action> out;
    for (;;) {
        Action a;
        a.code = in.u8();
        if (a.code == 0)
            return out;
        if (a.code >= 0x80) {
            uint16_t length = in.u16();
            a.data = in.bytes(length);
        }
        out.push_back(std::move(a));
    }
}

PlaceObject2 parsePlaceObject2(const Tag& tag) {
    if (tag.code != 26)
        throw DecodeError("not PlaceObject2");
    BitReader in(tag.body);
    PlaceObject2 p;
    p.flags = in.u8();
    p.depth = in.u16();
    if (p.flags & 0x02)
        p.characterId = in.u16();
    if (p.flags & 0x04)
        p.matrix = readMatrix(in);
    if (p.flags & 0xF8)
        throw DecodeError("unexpected PlaceObject2 fields");
    if (!in.atEnd())
        throw DecodeError("PlaceObject2 has trailing bytes");
    return p;
}

RemoveObject parseRemoveObject(const Tag& tag) {
    if (tag.code != 5 || tag.body.size() != 4)
        throw DecodeError("not RemoveObject");
    BitReader in(tag.body);
    RemoveObject r;
    r.characterId = in.u16();
    r.depth = in.u16();
    return r;
}

BitsLossless parseBitsLossless(const Tag& tag) {
    if (tag.code != 20 && tag.code != 36)
        throw DecodeError("not DefineBitsLossless");
    BitReader in(tag.body);
    BitsLossless b;
    b.characterId = in.u16();
    b.format = in.u8();
    b.width = in.u16();
    b.height = in.u16();
    if (b.format == 3)
        b.colorTableSize = in.u8() + 1;
    b.compressed = in.bytes(in.remaining());

    size_t entry = tag.code == 36 ? 4 : 3;
    size_t row = b.format == 3 ? (size_t(b.width) + 3) / 4 * 4 : size_t(b.width) * 4;
    size_t expected = size_t(b.colorTableSize) * entry + row * size_t(b.height);
    b.data.resize(expected + 1);
    uLongf produced = uLongf(b.data.size());
    if (uncompress(b.data.data(), &produced, b.compressed.data(), uLong(b.compressed.size())) != Z_OK)
        throw DecodeError("bitmap data does not inflate");
    b.data.resize(produced);
    if (produced != expected)
        throw DecodeError("bitmap data has the wrong size");
    return b;
}

DefineShape3 parseDefineShape3(const Tag& tag) {
    if (tag.code != 32)
        throw DecodeError("not DefineShape3");
    BitReader in(tag.body);
    DefineShape3 s;
    s.characterId = in.u16();
    s.bounds = readRect(in);
    auto count = [&in]() -> size_t {
        size_t n = in.u8();
        return n == 255 ? in.u16() : n;
    };
    size_t fills = count();
    for (size_t i = 0; i < fills; ++i) {
        FillStyle f;
        f.type = in.u8();
        if (f.type == 0x00) {
            for (uint8_t& c : f.color)
                c = in.u8();
        } else if (f.type == 0x10 || f.type == 0x12) {
            f.matrix = readMatrix(in);
            int n = in.u8();
            for (int g = 0; g < n; ++g) {
                int ratio = in.u8();
                f.gradient.push_back({ratio, in.bytes(4)});
            }
        } else if (f.type == 0x40 || f.type == 0x41) {
            f.bitmapId = in.u16();
            f.matrix = readMatrix(in);
        } else {
            throw DecodeError("unknown fill style");
        }
        s.fills.push_back(f);
    }
    size_t lines = count();
    for (size_t i = 0; i < lines; ++i) {
        LineStyle l;
        l.width = in.u16();
        for (uint8_t& c : l.color)
            c = in.u8();
        s.lines.push_back(l);
    }
    s.fillBits = int(in.ub(4));
    s.lineBits = int(in.ub(4));
    for (;;) {
        ShapeRecord r;
        bool edge = in.ub(1);
        if (!edge) {
            uint32_t flags = in.ub(5);
            if (flags == 0) {
                r.kind = ShapeRecord::End;
                s.records.push_back(r);
                break;
            }
            r.kind = ShapeRecord::StyleChange;
            r.newStyles = flags & 0x10;
            r.hasLine = flags & 0x08;
            r.hasFill1 = flags & 0x04;
            r.hasFill0 = flags & 0x02;
            r.hasMove = flags & 0x01;
            if (r.newStyles)
                throw DecodeError("new styles not expected");
            if (r.hasMove) {
                r.moveBits = int(in.ub(5));
                r.moveX = in.sb(r.moveBits);
                r.moveY = in.sb(r.moveBits);
            }
            if (r.hasFill0)
                r.fill0 = in.ub(s.fillBits);
            if (r.hasFill1)
                r.fill1 = in.ub(s.fillBits);
            if (r.hasLine)
                r.line = in.ub(s.lineBits);
        } else {
            r.kind = ShapeRecord::Edge;
            r.straight = in.ub(1);
            if (!r.straight)
                throw DecodeError("curves not expected");
            r.numBits = int(in.ub(4)) + 2;
            r.general = in.ub(1);
            if (r.general) {
                r.dx = in.sb(r.numBits);
                r.dy = in.sb(r.numBits);
            } else {
                r.vertical = in.ub(1);
                (r.vertical ? r.dy : r.dx) = in.sb(r.numBits);
            }
        }
        s.records.push_back(r);
    }
    in.align();
    s.unreadBytes = in.remaining();
    return s;
}

DefineButton2 parseDefineButton2(const Tag& tag) {
    if (tag.code != 34)
        throw DecodeError("not DefineButton2");
    BitReader in(tag.body);
    DefineButton2 b;
    b.characterId = in.u16();
    b.flags = in.u8();
    b.actionOffsetPosition = in.position();
    b.actionOffset = in.u16();
    for (;;) {
        uint8_t first = in.u8();
        if (first == 0)
            break;
        ButtonRecord r;
        r.reserved = first >> 4;
        r.hitTest = first & 0x08;
        r.down = first & 0x04;
        r.over = first & 0x02;
        r.up = first & 0x01;
        r.characterId = in.u16();
        r.depth = in.u16();
        size_t at = in.position();
        r.matrix = readMatrix(in);
        r.matrixBytes.assign(tag.body.begin() + at, tag.body.begin() + in.position());
        at = in.position();
        r.cxform = readColorTransformWithAlpha(in);
        r.cxformBytes.assign(tag.body.begin() + at, tag.body.begin() + in.position());
        b.records.push_back(r);
    }
    if (b.actionOffset != 0) {
        if (b.actionOffsetPosition + b.actionOffset != in.position())
            throw DecodeError("action offset does not point past the button records");
        for (;;) {
            ButtonCondAction c;
            c.offset = in.position();
            c.size = in.u16();
            c.conditionBytes[0] = in.u8();
            c.conditionBytes[1] = in.u8();
            c.actions = readActions(in);
            if (c.size != 0 && c.offset + c.size != in.position())
                throw DecodeError("conditional action size does not match");
            b.conditions.push_back(c);
            if (c.size == 0)
                break;
        }
    }
    if (!in.atEnd())
        throw DecodeError("DefineButton2 has trailing bytes");
    return b;
}

SetBackgroundColor parseSetBackgroundColor(const Tag& tag) {
    if (tag.code != 9 || tag.body.size() != 3)
        throw DecodeError("not SetBackgroundColor");
    return {tag.body[0], tag.body[1], tag.body[2]};
}

std::vector<Action> parseDoAction(const Tag& tag) {
    if (tag.code != 12)
        throw DecodeError("not DoAction");
    BitReader in(tag.body);
    auto actions = readActions(in);
    if (!in.atEnd())
        throw DecodeError("DoAction has trailing bytes");
    return actions;
}

}  // namespace swftest

#pragma once

// Writes small movies byte by byte from the format's layout, independent of the decoder.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace swftest {

using Bytes = std::vector<uint8_t>;

class BitWriter {
public:
    void bits(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            m_current = uint8_t(m_current | (((value >> i) & 1u) << (7 - m_used)));
            if (++m_used == 8)
                flushByte();
        }
    }
    void signedBits(int32_t value, int n) {
        bits(uint32_t(value) & (n == 32 ? 0xFFFFFFFFu : ((1u << n) - 1u)), n);
    }
    void align() {
        if (m_used > 0)
            flushByte();
    }
    void u8(uint8_t v) {
        align();
        m_bytes.push_back(v);
    }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void append(const Bytes& b) {
        align();
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    }
    Bytes take() {
        align();
        return std::move(m_bytes);
    }

private:
    void flushByte() {
        m_bytes.push_back(m_current);
        m_current = 0;
        m_used = 0;
    }
    Bytes m_bytes;
    uint8_t m_current = 0;
    int m_used = 0;
};

// Smallest signed field width that holds every value.
inline int signedBitCount(std::initializer_list<int32_t> values) {
    int64_t largest = 0;
    for (int32_t v : values)
        largest = std::max<int64_t>(largest, v < 0 ? -int64_t(v) : int64_t(v));
    if (largest == 0)
        return 1;
    int n = 0;
    while ((int64_t(1) << n) <= largest)
        ++n;
    return n + 1;
}

inline void writeRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax) {
    int n = signedBitCount({xMin, xMax, yMin, yMax});
    w.bits(uint32_t(n), 5);
    for (int v : {xMin, xMax, yMin, yMax})
        w.signedBits(v, n);
    w.align();
}

// Scale given in 16.16 fixed point; 65536 means none.
inline void writeMatrix(BitWriter& w, int tx, int ty, int32_t scaleX = 65536, int32_t scaleY = 65536) {
    const bool hasScale = scaleX != 65536 || scaleY != 65536;
    w.bits(hasScale, 1);
    if (hasScale) {
        int n = signedBitCount({scaleX, scaleY});
        w.bits(uint32_t(n), 5);
        w.signedBits(scaleX, n);
        w.signedBits(scaleY, n);
    }
    w.bits(0, 1);  // no rotation
    int n = (tx == 0 && ty == 0) ? 0 : signedBitCount({tx, ty});
    w.bits(uint32_t(n), 5);
    w.signedBits(tx, n);
    w.signedBits(ty, n);
    w.align();
}

inline Bytes compressed(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

namespace action {
inline Bytes play() {
    return {0x06};
}
inline Bytes stop() {
    return {0x07};
}
inline Bytes gotoFrame(uint16_t frame) {
    return {0x81, 2, 0, uint8_t(frame), uint8_t(frame >> 8)};
}
}  // namespace action

template <typename List>
inline Bytes actionsOf(const List& list) {
    Bytes out;
    for (const Bytes& a : list)
        out.insert(out.end(), a.begin(), a.end());
    out.push_back(0);
    return out;
}
inline Bytes actions(std::initializer_list<Bytes> list) {
    return actionsOf(list);
}

struct Rgba {
    uint8_t r, g, b, a;
};

// Positions and sizes are given in pixels and written in twips, as the movie writer does.
inline constexpr int Twips = 20;

class MovieBuilder {
public:
    MovieBuilder(int width, int height, int rate = 12) : m_width(width), m_height(height), m_rate(rate) {}

    void tag(uint16_t code, const Bytes& body, bool forceLong = false) {
        BitWriter w;
        if (body.size() < 63 && !forceLong) {
            w.u16(uint16_t(code << 6 | body.size()));
        } else {
            w.u16(uint16_t(code << 6 | 63));
            w.u32(uint32_t(body.size()));
        }
        w.append(body);
        Bytes t = w.take();
        m_tags.insert(m_tags.end(), t.begin(), t.end());
    }

    void background(uint8_t r, uint8_t g, uint8_t b) { tag(9, {r, g, b}); }

    // 32-bit bitmap; pixels are premultiplied when withAlpha (tag 36), else alpha is ignored (tag 20).
    void bitmap32(uint16_t id, int width, int height, const std::vector<Rgba>& pixels,
                  bool withAlpha = true) {
        Bytes raw;
        for (const Rgba& p : pixels)
            raw.insert(raw.end(), {p.a, p.r, p.g, p.b});
        bitmapTag(id, 5, width, height, 0, compressed(raw), withAlpha);
    }

    // Colour-mapped bitmap; rows padded to 4 bytes here.
    void bitmap8(uint16_t id, int width, int height, const std::vector<Rgba>& table, const Bytes& indices,
                 bool withAlpha = true) {
        Bytes raw;
        for (const Rgba& c : table) {
            raw.insert(raw.end(), {c.r, c.g, c.b});
            if (withAlpha)
                raw.push_back(c.a);
        }
        int row = (width + 3) / 4 * 4;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < row; ++x)
                raw.push_back(x < width ? indices[size_t(y * width + x)] : 0xEE);
        }
        bitmapTag(id, 3, width, height, int(table.size()), compressed(raw), withAlpha);
    }

    void bitmapTag(uint16_t id, int format, int width, int height, int tableSize, const Bytes& data,
                   bool withAlpha) {
        BitWriter w;
        w.u16(id);
        w.u8(uint8_t(format));
        w.u16(uint16_t(width));
        w.u16(uint16_t(height));
        if (format == 3)
            w.u8(uint8_t(tableSize - 1));
        w.append(data);
        tag(withAlpha ? 36 : 20, w.take());
    }

    // Rectangle x1..x2, y1..y2 (inclusive) filled with a bitmap stretched over it, laid out as
    // the movie writer does: an unused first fill pointing at bitmap 65535, then the real one.
    void bitmapRect(uint16_t id, int x1, int y1, int x2, int y2, uint16_t bitmapId, int bitmapWidth,
                    int bitmapHeight, bool clipped = true) {
        BitWriter w;
        w.u16(id);
        writeRect(w, x1 * Twips, (x2 + 1) * Twips, y1 * Twips, (y2 + 1) * Twips);
        w.u8(2);
        w.u8(0x41);
        w.u16(65535);
        writeMatrix(w, 0, 0, 0xA0000, 0xA0000);
        w.u8(clipped ? 0x41 : 0x40);
        w.u16(bitmapId);
        writeMatrix(w, x1 * Twips, y1 * Twips, (x2 - x1 + 1) * Twips * 65536 / bitmapWidth,
                    (y2 - y1 + 1) * Twips * 65536 / bitmapHeight);
        w.u8(0);  // no line styles
        shapeRecords(w, x1, y1, x2, y2, 2, 0);
        tag(32, w.take());
    }

    void solidRect(uint16_t id, int x1, int y1, int x2, int y2, Rgba color) {
        BitWriter w;
        w.u16(id);
        writeRect(w, x1 * Twips, (x2 + 1) * Twips, y1 * Twips, (y2 + 1) * Twips);
        w.u8(1);
        w.u8(0x00);
        for (uint8_t c : {color.r, color.g, color.b, color.a})
            w.u8(c);
        w.u8(0);
        shapeRecords(w, x1, y1, x2, y2, 1, 0);
        tag(32, w.take());
    }

    // A button whose four states are the one shape, with a release action list.
    void button(uint16_t id, uint16_t shapeId, const Bytes& actionList, uint16_t conditions = 0x0008) {
        BitWriter records;
        for (uint8_t state : {0x01, 0x02, 0x04, 0x08}) {
            records.u8(state);
            records.u16(shapeId);
            records.u16(1);
            records.u8(0);     // identity matrix
            records.u8(0x04);  // empty colour transform
        }
        records.u8(0);
        Bytes recordBytes = records.take();
        BitWriter w;
        w.u16(id);
        w.u8(0);
        w.u16(uint16_t(recordBytes.size() + 2));
        w.append(recordBytes);
        w.u16(0);  // last condition record
        w.u16(conditions);
        w.append(actionList);
        tag(34, w.take());
    }

    void place(uint16_t depth, uint16_t characterId, int tx = 0, int ty = 0) {
        BitWriter w;
        const bool matrix = tx != 0 || ty != 0;
        w.u8(matrix ? 0x06 : 0x02);
        w.u16(depth);
        w.u16(characterId);
        if (matrix)
            writeMatrix(w, tx * Twips, ty * Twips);
        tag(26, w.take());
    }
    void move(uint16_t depth, int tx, int ty) {
        BitWriter w;
        w.u8(0x05);
        w.u16(depth);
        writeMatrix(w, tx * Twips, ty * Twips);
        tag(26, w.take());
    }
    void replace(uint16_t depth, uint16_t characterId) {
        BitWriter w;
        w.u8(0x03);
        w.u16(depth);
        w.u16(characterId);
        tag(26, w.take());
    }
    void remove(uint16_t characterId, uint16_t depth) {
        BitWriter w;
        w.u16(characterId);
        w.u16(depth);
        tag(5, w.take());
    }
    void doAction(const Bytes& actionList) { tag(12, actionList); }
    void showFrame() {
        tag(1, {});
        ++m_frames;
    }

    // Header, tags and End.
    Bytes finish() {
        BitWriter w;
        w.u8('F');
        w.u8('W');
        w.u8('S');
        w.u8(4);
        w.u32(0);  // length, filled in below
        BitWriter rect;
        writeRect(rect, 0, m_width * Twips, 0, m_height * Twips);
        w.append(rect.take());
        w.u8(0);
        w.u8(uint8_t(m_rate));
        w.u16(uint16_t(m_frames));
        w.append(m_tags);
        w.u16(0);  // End
        Bytes out = w.take();
        uint32_t length = uint32_t(out.size());
        for (int i = 0; i < 4; ++i)
            out[size_t(4 + i)] = uint8_t(length >> (8 * i));
        return out;
    }

private:
    // Move to (x1, y1) choosing the fill, then the four sides, then the end record.
    static void shapeRecords(BitWriter& w, int x1, int y1, int x2, int y2, int fillIndex, int lineCount) {
        const int fillBits = fillIndex >= 2 ? 2 : 1;
        const int lineBits = lineCount;
        w.bits(uint32_t(fillBits), 4);
        w.bits(uint32_t(lineBits), 4);
        w.bits(0, 1);
        w.bits(0x0D, 5);  // line style, fill style 1, move to
        int n = signedBitCount({x1 * Twips, y1 * Twips});
        w.bits(uint32_t(n), 5);
        w.signedBits(x1 * Twips, n);
        w.signedBits(y1 * Twips, n);
        w.bits(uint32_t(fillIndex), fillBits);
        w.bits(0, lineBits);
        const int width = (x2 - x1 + 1) * Twips, height = (y2 - y1 + 1) * Twips;
        for (auto [dx, dy] : {std::pair{width, 0}, {0, height}, {-width, 0}, {0, -height}}) {
            int bits = signedBitCount({dx, dy});
            bits = std::max(bits, 2);
            w.bits(1, 1);
            w.bits(1, 1);
            w.bits(uint32_t(bits - 2), 4);
            w.bits(0, 1);  // not general
            w.bits(dx == 0 ? 1 : 0, 1);
            w.signedBits(dx == 0 ? dy : dx, bits);
        }
        w.bits(0, 6);
        w.align();
    }

    int m_width, m_height, m_rate;
    int m_frames = 0;
    Bytes m_tags;
};

}  // namespace swftest

#pragma once

// Writes small movies tag by tag with the writer's own tag encoders, so that a player test decides
// every id, depth and command itself. Damaged movies start from raw tag bodies.

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "swf/swf_stream.h"
#include "swf/swf_tags.h"

namespace swftest {

using Bytes = std::vector<uint8_t>;
using quib::SwfAction;
using quib::SwfActionList;

inline Bytes compressed(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

struct Rgba {
    uint8_t r, g, b, a;
};

// Positions and sizes are given in pixels and written in twips, as the movie writer does.
inline constexpr int Twips = 20;

class MovieBuilder {
public:
    MovieBuilder(int width, int height, int rate = 12) : m_width(width), m_height(height), m_rate(rate) {}

    void add(const quib::SwfTag& tag) { quib::encodeTag(tag, m_tags); }
    // A raw tag; forceLong writes a short body with the long header.
    void tag(uint16_t code, const Bytes& body, bool forceLong = false) {
        const bool longForm = body.size() >= 63 || forceLong;
        m_tags.writeU16(uint16_t(code << 6 | (longForm ? 63 : body.size())));
        if (longForm)
            m_tags.writeU32(uint32_t(body.size()));
        m_tags.writeBytes(body.data(), body.size());
    }

    void background(uint8_t r, uint8_t g, uint8_t b) { add(quib::SwfSetBackgroundColorTag({r, g, b, 255})); }

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
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < (width + 3) / 4 * 4; ++x)
                raw.push_back(x < width ? indices[size_t(y * width + x)] : 0xEE);
        bitmapTag(id, 3, width, height, int(table.size()), compressed(raw), withAlpha);
    }

    void bitmapTag(uint16_t id, int format, int width, int height, int tableSize, const Bytes& data,
                   bool withAlpha) {
        Bytes body = {uint8_t(id),         uint8_t(id >> 8), uint8_t(format),     uint8_t(width),
                      uint8_t(width >> 8), uint8_t(height),  uint8_t(height >> 8)};
        if (format == 3)
            body.push_back(uint8_t(tableSize - 1));
        body.insert(body.end(), data.begin(), data.end());
        tag(withAlpha ? 36 : 20, body);
    }

    // Rectangle x1..x2, y1..y2 (inclusive) filled with a bitmap stretched over it, laid out as
    // the movie writer does: an unused first fill pointing at bitmap 65535, then the real one.
    void bitmapRect(uint16_t id, int x1, int y1, int x2, int y2, uint16_t bitmapId, int bitmapWidth,
                    int bitmapHeight) {
        using Fill = quib::SwfFillStyle;
        const auto scaled = &quib::SwfMatrix::scaleTranslate;
        rect(id, x1, y1, x2, y2,
             {Fill{Fill::ClippedBitmap, {}, scaled(0xA0000, 0xA0000, 0, 0), {}, 65535},
              Fill{Fill::ClippedBitmap,
                   {},
                   scaled((x2 - x1 + 1) * Twips * 65536 / bitmapWidth,
                          (y2 - y1 + 1) * Twips * 65536 / bitmapHeight, x1 * Twips, y1 * Twips),
                   {},
                   bitmapId}});
    }

    void solidRect(uint16_t id, int x1, int y1, int x2, int y2, Rgba c) {
        quib::SwfFillStyle fill;
        fill.color = {c.r, c.g, c.b, c.a};
        rect(id, x1, y1, x2, y2, {fill});
    }

    // A button whose four states are the one shape, with one conditional action list.
    void button(uint16_t id, uint16_t shapeId, SwfActionList actions, uint16_t conditions = 0x0008) {
        quib::SwfDefineButton2Tag button(id);
        for (int state = 0; state < 4; ++state)
            button.records.push_back({state == 3, state == 2, state == 1, state == 0, shapeId, 1, {}});
        button.actions.push_back({conditions, std::move(actions)});
        add(button);
    }

    void place(uint16_t depth, uint16_t characterId, int tx = 0, int ty = 0) {
        placeTag(false, depth, characterId, tx != 0 || ty != 0, tx, ty);
    }
    void move(uint16_t depth, int tx, int ty) { placeTag(true, depth, std::nullopt, true, tx, ty); }
    void replace(uint16_t depth, uint16_t characterId) { placeTag(true, depth, characterId, false, 0, 0); }
    void remove(uint16_t characterId, uint16_t depth) { add(quib::SwfRemoveObjectTag(characterId, depth)); }
    void doAction(const SwfActionList& actions) { add(quib::SwfDoActionTag(actions)); }
    void showFrame() {
        add(quib::SwfShowFrameTag());
        ++m_frames;
    }

    // Header, tags and End.
    Bytes finish() {
        quib::SwfStream s;
        for (uint8_t b : {uint8_t('F'), uint8_t('W'), uint8_t('S'), uint8_t(4)})
            s.writeU8(b);
        s.writeU32(0);  // length, filled in below
        quib::SwfRect{0, m_width * Twips, 0, m_height * Twips}.encode(s);
        s.writeU8(0);
        s.writeU8(uint8_t(m_rate));
        s.writeU16(uint16_t(m_frames));
        s.appendStream(m_tags);
        quib::encodeTag(quib::SwfEndTag(), s);
        Bytes out;
        s.writeTo(out);
        for (int i = 0; i < 4; ++i)
            out[size_t(4 + i)] = uint8_t(out.size() >> (8 * i));
        return out;
    }

private:
    void placeTag(bool move, uint16_t depth, std::optional<uint16_t> id, bool withMatrix, int tx, int ty) {
        quib::SwfPlaceObject2Tag p;
        p.move = move;
        p.depth = depth;
        p.hasCharacter = id.has_value();
        p.placedId = id.value_or(0);
        if (withMatrix) {
            p.matrix.emplace();
            p.matrix->identity = false;
            p.matrix->translateX = tx * Twips;
            p.matrix->translateY = ty * Twips;
        }
        add(p);
    }

    // Move to (x1, y1) choosing the last fill, then the four sides, then the end record.
    void rect(uint16_t id, int x1, int y1, int x2, int y2, std::vector<quib::SwfFillStyle> fills) {
        quib::SwfDefineShape3Tag shape(id);
        shape.bounds = {x1 * Twips, (x2 + 1) * Twips, y1 * Twips, (y2 + 1) * Twips};
        shape.fillBits = fills.size() >= 2 ? 2 : 1;
        const int w = (x2 - x1 + 1) * Twips, h = (y2 - y1 + 1) * Twips;
        using Record = quib::SwfShapeRecord;
        shape.records = {Record::makeStyleChange({.lineStyle = 0u,
                                                  .fillStyle1 = uint32_t(fills.size()),
                                                  .fillStyle0 = {},
                                                  .moveTo = std::pair{x1 * Twips, y1 * Twips}}),
                         Record::makeEdge(w, 0),
                         Record::makeEdge(0, h),
                         Record::makeEdge(-w, 0),
                         Record::makeEdge(0, -h),
                         Record::makeEnd()};
        shape.fillStyles = std::move(fills);
        add(shape);
    }

    int m_width, m_height, m_rate;
    int m_frames = 0;
    quib::SwfStream m_tags;
};

}  // namespace swftest

#include "swf_tags.h"

#include "swf_stream.h"

namespace quib {

void encodeTag(const SwfTag& tag, SwfStream& out) {
    SwfStream body;
    tag.encodeBody(body);
    body.align();
    size_t length = body.length();
    out.align();
    if (length < 63) {
        out.writeU16(uint16_t(tag.code() * 64 + length));
    } else {
        out.writeU16(uint16_t(tag.code() * 64 + 63));
        out.writeU32(uint32_t(length));
    }
    out.appendStream(body);
}

void SwfRemoveObjectTag::encodeBody(SwfStream& out) const {
    out.writeU16(m_removedId);
    out.writeU16(m_depth);
}

void SwfSetBackgroundColorTag::encodeBody(SwfStream& out) const {
    m_color.encodeRgb(out);
}

void SwfDoActionTag::encodeBody(SwfStream& out) const {
    encodeActionList(m_actions, out);
}

void SwfPlaceObject2Tag::encodeBody(SwfStream& out) const {
    uint8_t flags = 0;
    if (clipDepth)
        flags |= 0x40;
    if (ratio)
        flags |= 0x10;
    if (hasColorTransform)
        flags |= 0x08;
    if (matrix)
        flags |= 0x04;
    if (hasCharacter)
        flags |= 0x02;
    if (move)
        flags |= 0x01;
    out.writeU8(flags);
    out.writeU16(depth);
    if (hasCharacter)
        out.writeU16(placedId);
    if (matrix)
        matrix->encode(out);
    if (hasColorTransform)
        SwfEmptyColorTransform().encode(out);
    if (ratio)
        out.writeU16(*ratio);
    if (clipDepth)
        out.writeU16(*clipDepth);
}

void SwfDefineShape3Tag::encodeBody(SwfStream& out) const {
    out.writeU16(m_id);
    bounds.encode(out);
    encodeStyleCount(fillStyles.size(), out);
    for (const SwfFillStyle& f : fillStyles)
        f.encode(out);
    encodeStyleCount(lineStyles.size(), out);
    for (const SwfLineStyle& l : lineStyles)
        l.encode(out);
    out.writeBits(uint32_t(fillBits), 4);
    out.writeBits(uint32_t(lineBits), 4);
    for (const SwfShapeRecord& r : records)
        r.encode(out, fillBits, lineBits);
    out.align();
}

void SwfDefineButton2Tag::encodeBody(SwfStream& out) const {
    SwfStream buttons;
    for (const SwfButtonRecord& r : records)
        r.encode(buttons);
    buttons.writeU8(0);

    out.writeU16(m_id);
    out.writeU8(flags);
    // No conditional actions: offset 0 says so.
    out.writeU16(actions.empty() ? 0 : uint16_t(buttons.length() + 2));
    out.appendStream(buttons);
    for (size_t i = 0; i < actions.size(); ++i)
        actions[i].encode(out, i + 1 == actions.size());
}

}  // namespace quib

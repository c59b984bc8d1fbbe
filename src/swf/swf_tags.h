#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "swf_actions.h"
#include "swf_records.h"

namespace quib {

class SwfStream;

class SwfTag {
public:
    virtual ~SwfTag() = default;
    virtual uint16_t code() const = 0;
    virtual void encodeBody(SwfStream& out) const = 0;
    virtual bool countsAsFrame() const { return false; }
    // Character-defining tags return their id, the others 0.
    virtual uint16_t characterId() const { return 0; }
    // Why a tag whose content was made in the background cannot be written; empty when it can.
    virtual std::string deferredError() const { return {}; }
};

// Header (short form below 63 body bytes, long form otherwise) followed by the body.
void encodeTag(const SwfTag& tag, SwfStream& out);

class SwfEndTag final : public SwfTag {
public:
    uint16_t code() const override { return 0; }
    void encodeBody(SwfStream&) const override {}
};

class SwfShowFrameTag final : public SwfTag {
public:
    uint16_t code() const override { return 1; }
    void encodeBody(SwfStream&) const override {}
    bool countsAsFrame() const override { return true; }
};

class SwfRemoveObjectTag final : public SwfTag {
public:
    SwfRemoveObjectTag(uint16_t characterId, uint16_t depth) : m_removedId(characterId), m_depth(depth) {}
    uint16_t code() const override { return 5; }
    void encodeBody(SwfStream& out) const override;
    uint16_t removedId() const { return m_removedId; }
    uint16_t depth() const { return m_depth; }
    void setDepth(uint16_t depth) { m_depth = depth; }

private:
    uint16_t m_removedId;
    uint16_t m_depth;
};

class SwfSetBackgroundColorTag final : public SwfTag {
public:
    explicit SwfSetBackgroundColorTag(SwfColor color) : m_color(color) {}
    uint16_t code() const override { return 9; }
    void encodeBody(SwfStream& out) const override;

private:
    SwfColor m_color;
};

class SwfDoActionTag final : public SwfTag {
public:
    explicit SwfDoActionTag(SwfActionList actions = {}) : m_actions(std::move(actions)) {}
    uint16_t code() const override { return 12; }
    void encodeBody(SwfStream& out) const override;
    SwfActionList& actions() { return m_actions; }

private:
    SwfActionList m_actions;
};

class SwfPlaceObject2Tag final : public SwfTag {
public:
    uint16_t code() const override { return 26; }
    void encodeBody(SwfStream& out) const override;

    bool move = false;
    bool hasCharacter = false;
    uint16_t depth = 0;
    uint16_t placedId = 0;
    std::optional<SwfMatrix> matrix;
    bool hasColorTransform = false;  // always the empty transform
    std::optional<uint16_t> ratio;
    std::optional<uint16_t> clipDepth;
};

class SwfDefineShape3Tag final : public SwfTag {
public:
    explicit SwfDefineShape3Tag(uint16_t id) : m_id(id) {}
    uint16_t code() const override { return 32; }
    uint16_t characterId() const override { return m_id; }
    void encodeBody(SwfStream& out) const override;

    SwfRect bounds;
    std::vector<SwfFillStyle> fillStyles;
    std::vector<SwfLineStyle> lineStyles;
    int fillBits = 0;
    int lineBits = 0;
    std::vector<SwfShapeRecord> records;

private:
    uint16_t m_id;
};

class SwfDefineButton2Tag final : public SwfTag {
public:
    explicit SwfDefineButton2Tag(uint16_t id) : m_id(id) {}
    uint16_t code() const override { return 34; }
    uint16_t characterId() const override { return m_id; }
    void encodeBody(SwfStream& out) const override;

    uint8_t flags = 0;
    std::vector<SwfButtonRecord> records;
    std::vector<SwfButtonCondAction> actions;

private:
    uint16_t m_id;
};

}  // namespace quib

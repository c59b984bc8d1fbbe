#pragma once

// Reads back what the movie writer produced, field by field and with the bit counts, so that tests
// assert on decoded fields. It shares only the bit reader and the action reader with the player;
// the tag layouts are read here from the file format, independently of the writer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "movie_data.h"
#include "swf_bit_reader.h"

namespace swftest {

using BitReader = quib::player::SwfBitReader;
using Action = quib::player::Action;

inline BitReader readerOf(const std::vector<uint8_t>& bytes) {
    return BitReader(bytes.data(), bytes.size());
}

struct Header {
    std::string signature;
    uint32_t fileLength = 0;
    int rectBits = 0;
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int rate = 0;
    int frameCount = 0;
};

struct Tag {
    int code = 0;
    std::vector<uint8_t> body;
};

struct Movie {
    Header header;
    std::vector<Tag> tags;  // includes ShowFrame and End
    // Tags between ShowFrames, without the ShowFrames; tags after the last ShowFrame are not a frame.
    std::vector<std::vector<const Tag*>> frames() const;
    int showFrameCount() const;
};

// Throws quib::FormatError on malformed data, as every parser below.
Movie decodeMovie(const std::vector<uint8_t>& file);
// One tag header and body.
Tag readTag(BitReader& in);

struct Rect {
    int bits = 0;
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    std::array<int32_t, 4> edges() const { return {xMin, xMax, yMin, yMax}; }
};
Rect readRect(BitReader& in);

struct Matrix {
    bool hasScale = false;
    int32_t scaleX = 65536, scaleY = 65536;
    bool hasRotate = false;
    int32_t translateX = 0, translateY = 0;
};

struct PlaceObject2 {
    uint8_t flags = 0;
    uint16_t depth = 0;
    std::optional<uint16_t> characterId;
    std::optional<Matrix> matrix;
};
PlaceObject2 parsePlaceObject2(const Tag& tag);

struct RemoveObject {
    uint16_t characterId = 0;
    uint16_t depth = 0;
};
RemoveObject parseRemoveObject(const Tag& tag);

struct BitsLossless {
    uint16_t characterId = 0;
    int format = 0;
    int width = 0, height = 0;
    int colorTableSize = 0;     // format 3: entries
    std::vector<uint8_t> data;  // inflated
};
BitsLossless parseBitsLossless(const Tag& tag);

struct FillStyle {
    int type = 0;
    uint8_t color[4] = {};
    uint16_t bitmapId = 0;
    Matrix matrix;
    std::vector<std::pair<int, std::vector<uint8_t>>> gradient;
};

struct LineStyle {
    uint16_t width = 0;
    uint8_t color[4] = {};
};

struct ShapeRecord {
    enum Kind { StyleChange, Edge, End } kind = End;
    // style change
    bool hasLine = false, hasFill1 = false, hasFill0 = false, hasMove = false;
    int moveBits = 0;
    int32_t moveX = 0, moveY = 0;
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    // edge
    int numBits = 0;
    bool general = false, vertical = false;
    int32_t dx = 0, dy = 0;
    friend bool operator==(const ShapeRecord&, const ShapeRecord&) = default;
};

struct DefineShape3 {
    uint16_t characterId = 0;
    Rect bounds;
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    int fillBits = 0, lineBits = 0;
    std::vector<ShapeRecord> records;
    size_t unreadBytes = 0;
};
DefineShape3 parseDefineShape3(const Tag& tag);

struct ButtonCondAction {
    uint16_t size = 0;
    uint8_t conditionBytes[2] = {};
    quib::player::ActionList actions;
};

// The button records are checked for their layout and skipped.
struct DefineButton2 {
    uint16_t characterId = 0;
    std::vector<ButtonCondAction> conditions;
};
DefineButton2 parseDefineButton2(const Tag& tag);

quib::player::ActionList parseDoAction(const Tag& tag);

}  // namespace swftest

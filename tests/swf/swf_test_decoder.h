#pragma once

// A small SWF reader for the tests, written from the file format's layout and independent of the
// writer: it reads back what the writer produced so that tests assert on decoded fields.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace swftest {

class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Most-significant-bit-first reader; byte reads align first.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit BitReader(const std::vector<uint8_t>& bytes) : BitReader(bytes.data(), bytes.size()) {}

    uint32_t ub(int n);
    int32_t sb(int n);
    void align();
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    std::vector<uint8_t> bytes(size_t n);
    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    int m_bit = 0;  // bits already taken from m_data[m_pos]
};

struct Header {
    std::string signature;
    int version = 0;
    uint32_t fileLength = 0;
    int rectBits = 0;
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int rateFraction = 0;
    int rate = 0;
    int frameCount = 0;
};

struct Tag {
    int code = 0;
    bool longHeader = false;
    size_t offset = 0;  // of the tag header in the file
    std::vector<uint8_t> body;
};

struct Movie {
    Header header;
    std::vector<Tag> tags;  // includes ShowFrame and End
    // Tags between ShowFrames, without the ShowFrames; tags after the last ShowFrame are not a frame.
    std::vector<std::vector<const Tag*>> frames() const;
    int showFrameCount() const;
};

Movie decodeMovie(const std::vector<uint8_t>& file);

struct Rect {
    int bits = 0;
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};
Rect readRect(BitReader& in);

struct Matrix {
    bool hasScale = false;
    int scaleBits = 0;
    int32_t scaleX = 65536, scaleY = 65536;
    bool hasRotate = false;
    int rotateBits = 0;
    int32_t rotateSkew0 = 0, rotateSkew1 = 0;
    int translateBits = 0;
    int32_t translateX = 0, translateY = 0;
};
Matrix readMatrix(BitReader& in);

struct ColorTransform {
    bool hasAdd = false, hasMult = false;
    int bits = 0;
};
ColorTransform readColorTransformWithAlpha(BitReader& in);

struct Action {
    int code = 0;
    std::vector<uint8_t> data;  // payload of actions with code >= 0x80
    int gotoFrame() const;      // for ActionGotoFrame
};
// Actions up to and including the end byte 0 (not returned).
std::vector<Action> readActions(BitReader& in);

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
    int colorTableSize = 0;  // format 3: entries
    std::vector<uint8_t> compressed;
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
    bool newStyles = false, hasLine = false, hasFill1 = false, hasFill0 = false, hasMove = false;
    int moveBits = 0;
    int32_t moveX = 0, moveY = 0;
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    // edge
    bool straight = false;
    int numBits = 0;
    bool general = false, vertical = false;
    int32_t dx = 0, dy = 0;
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

struct ButtonRecord {
    int reserved = 0;
    bool hitTest = false, down = false, over = false, up = false;
    uint16_t characterId = 0;
    uint16_t depth = 0;
    Matrix matrix;
    std::vector<uint8_t> matrixBytes;
    ColorTransform cxform;
    std::vector<uint8_t> cxformBytes;
};

struct ButtonCondAction {
    size_t offset = 0;  // within the tag body
    uint16_t size = 0;
    uint8_t conditionBytes[2] = {};
    std::vector<Action> actions;
};

struct DefineButton2 {
    uint16_t characterId = 0;
    uint8_t flags = 0;
    uint16_t actionOffset = 0;
    size_t actionOffsetPosition = 0;  // where the offset field lies in the body
    std::vector<ButtonRecord> records;
    std::vector<ButtonCondAction> conditions;
};
DefineButton2 parseDefineButton2(const Tag& tag);

struct SetBackgroundColor {
    uint8_t red = 0, green = 0, blue = 0;
};
SetBackgroundColor parseSetBackgroundColor(const Tag& tag);

std::vector<Action> parseDoAction(const Tag& tag);

}  // namespace swftest

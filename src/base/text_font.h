#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace quib {

// A Windows LOGFONTA record, kept byte-exact because files store it as a block.
struct LogFont {
    int32_t height = 8;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    char faceName[32] = "MS Sans Serif";

    std::string face() const { return std::string(faceName, strnlen(faceName, sizeof faceName)); }
    void setFace(const std::string& name) {
        std::memset(faceName, 0, sizeof faceName);
        std::memcpy(faceName, name.data(), name.size() < sizeof faceName ? name.size() : sizeof faceName - 1);
    }
    friend bool operator==(const LogFont& a, const LogFont& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};
static_assert(sizeof(LogFont) == 60);

enum class TextAlign : uint32_t { Left = 0, Centre = 1, Right = 2, Justify = 3 };

// The text colour that stands for "use the callout's own text colour".
inline constexpr uint32_t kCalloutTextColour = 0xFFFFFFFF;

struct TextFont {
    LogFont logFont;
    uint32_t color = kCalloutTextColour;  // COLORREF 0x00BBGGRR
    uint32_t align = uint32_t(TextAlign::Justify);
    friend bool operator==(const TextFont& a, const TextFont& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
};
static_assert(sizeof(TextFont) == 68);

inline constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
inline constexpr uint8_t redOf(uint32_t c) {
    return uint8_t(c);
}
inline constexpr uint8_t greenOf(uint32_t c) {
    return uint8_t(c >> 8);
}
inline constexpr uint8_t blueOf(uint32_t c) {
    return uint8_t(c >> 16);
}

}  // namespace quib

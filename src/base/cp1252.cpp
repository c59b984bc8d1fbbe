#include "cp1252.h"

#include <cstdint>
#include <vector>

namespace quib {

namespace {

// Code points of bytes 0x80..0x9F; the others equal their byte value.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes UTF-8; malformed sequences become U+FFFD. Returns false if any was malformed.
bool decodeUtf8(std::string_view s, std::vector<char32_t>& out) {
    bool clean = true;
    size_t i = 0;
    while (i < s.size()) {
        uint8_t b = uint8_t(s[i]);
        int extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else {
            out.push_back(0xFFFD);
            clean = false;
            ++i;
            continue;
        }
        bool ok = i + size_t(extra) < s.size() || extra == 0;
        for (int k = 1; ok && k <= extra; ++k) {
            uint8_t t = uint8_t(s[i + size_t(k)]);
            if ((t & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (t & 0x3F);
        }
        const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out.push_back(0xFFFD);
            clean = false;
            ++i;
            continue;
        }
        out.push_back(c);
        i += size_t(extra) + 1;
    }
    return clean;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        uint8_t b = uint8_t(ch);
        appendUtf8(out, (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view utf8) {
    std::vector<char32_t> cps;
    if (!decodeUtf8(utf8, cps))
        return std::nullopt;
    std::string out;
    out.reserve(cps.size());
    for (char32_t c : cps) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += char(c);
            continue;
        }
        bool found = false;
        for (int k = 0; k < 32; ++k) {
            if (kHigh[k] == c) {
                out += char(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) { return char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8)); };
    for (size_t i = 0; i < units; ++i) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            char16_t v = unit(i + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(v) - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? char32_t(0xFFFD) : char32_t(u));
    }
    return out;
}

std::string utf8ToUtf16le(std::string_view utf8) {
    std::vector<char32_t> cps;
    decodeUtf8(utf8, cps);
    std::string out;
    auto put = [&](char16_t u) {
        out += char(u & 0xFF);
        out += char(u >> 8);
    };
    for (char32_t c : cps) {
        if (c >= 0x10000) {
            c -= 0x10000;
            put(char16_t(0xD800 + (c >> 10)));
            put(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            put(char16_t(c));
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::vector<char32_t> cps;
    return decodeUtf8(bytes, cps);
}

}  // namespace quib

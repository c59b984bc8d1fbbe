#include "export/pdf_text.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace quib {

namespace {

std::vector<char32_t> decodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0 && i + size_t(extra > 0 ? extra : 0) < n;
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + size_t(k)]);
            ok = (cc & 0xC0) == 0x80;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (ok && extra > 0 && (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

// PDFDocEncoding bytes 0x80 to 0xA0, which differ from Latin-1 (0x9F is unassigned).
constexpr char32_t kHighBlock[] = {0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039,
                                   0x203A, 0x2212, 0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A,
                                   0x2122, 0xFB01, 0xFB02, 0x0141, 0x0152, 0x0160, 0x0178, 0x017D, 0x0131,
                                   0x0142, 0x0153, 0x0161, 0x017E, 0,      0x20AC};

std::optional<uint8_t> pdfDocByte(char32_t cp) {
    if ((cp >= 0x20 && cp < 0x7F) || cp == '\t' || cp == '\n' || cp == '\r')
        return uint8_t(cp);
    if (cp >= 0xA1 && cp <= 0xFF && cp != 0xAD)
        return uint8_t(cp);
    for (size_t k = 0; k < std::size(kHighBlock); ++k) {
        if (kHighBlock[k] != 0 && kHighBlock[k] == cp)
            return uint8_t(0x80 + k);
    }
    return std::nullopt;
}

std::string encode(const std::vector<char32_t>& text) {
    std::string bytes;
    bool fits = true;
    for (char32_t cp : text) {
        const auto b = pdfDocByte(cp);
        if (!b) {
            fits = false;
            break;
        }
        bytes += char(*b);
    }
    if (fits)
        return bytes;
    bytes = "\xFE\xFF";
    auto unit = [&bytes](char32_t u) {
        bytes += char(u >> 8);
        bytes += char(u & 0xFF);
    };
    for (char32_t cp : text) {
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return bytes;
}

}  // namespace

std::string pdfLiteralString(const std::string& utf8) {
    std::string out = "(";
    for (char ch : encode(decodeUtf8(utf8))) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", unsigned(c));
            out += octal;
        } else {
            out += ch;
        }
    }
    out += ')';
    return out;
}

}  // namespace quib

#include "byte_stream.h"

#include "cp1252.h"

namespace quib {

void ByteWriter::archiveLength(uint32_t n) {
    if (n < 0xFF) {
        u8(uint8_t(n));
    } else if (n < 0xFFFE) {
        u8(0xFF);
        u16(uint16_t(n));
    } else {
        u8(0xFF);
        u16(0xFFFF);
        u32(n);
    }
}

void ByteWriter::archiveString(std::string_view utf8) {
    if (auto narrow = utf8ToCp1252(utf8)) {
        archiveLength(uint32_t(narrow->size()));
        bytes(*narrow);
        return;
    }
    std::string wide = utf8ToUtf16le(utf8);
    u8(0xFF);
    u16(0xFFFE);
    archiveLength(uint32_t(wide.size() / 2));
    bytes(wide);
}

void ByteWriter::clipboardString(std::string_view utf8) {
    auto narrow = utf8ToCp1252(utf8);
    std::string_view text = narrow ? std::string_view(*narrow) : utf8;
    u32(uint32_t(text.size() + 1));
    bytes(text);
    u8(0);
}

uint32_t ByteReader::archiveLength(bool& wide) {
    wide = false;
    uint8_t b = u8();
    if (b < 0xFF)
        return b;
    uint16_t w = u16();
    if (w == 0xFFFE) {
        wide = true;
        b = u8();
        if (b < 0xFF)
            return b;
        w = u16();
    }
    if (w < 0xFFFE)
        return w;
    if (w == 0xFFFE)
        throw FormatError("bad string length");
    return u32();
}

std::string ByteReader::archiveString() {
    bool wide = false;
    uint32_t n = archiveLength(wide);
    if (wide) {
        if (n > remaining() / 2)
            throw FormatError("unexpected end of data");
        const uint8_t* p = bytes(size_t(n) * 2);
        return utf16leToUtf8(std::string_view(reinterpret_cast<const char*>(p), size_t(n) * 2));
    }
    const uint8_t* p = bytes(n);
    return cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
}

std::string ByteReader::clipboardString() {
    uint32_t n = u32();
    const uint8_t* p = bytes(n);
    std::string_view raw(reinterpret_cast<const char*>(p), n);
    // The stored length counts the terminator; stop at the first zero in any case.
    auto zero = raw.find('\0');
    if (zero != std::string_view::npos)
        raw = raw.substr(0, zero);
    bool ascii = true;
    for (char c : raw)
        ascii = ascii && uint8_t(c) < 0x80;
    if (!ascii && isValidUtf8(raw))
        return std::string(raw);
    return cp1252ToUtf8(raw);
}

}  // namespace quib

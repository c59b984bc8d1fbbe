#include "palette/palette_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/atomic_file.h"
#include "base/byte_stream.h"
#include "base/file_bytes.h"

namespace quib {

namespace {

bool startsWith(const std::vector<uint8_t>& bytes, const char* tag) {
    const size_t n = std::strlen(tag);
    return bytes.size() >= n && std::memcmp(bytes.data(), tag, n) == 0;
}

// Finds the chunk `id` among the chunks of [begin, end); chunks are padded to an even size.
bool findChunk(ByteReader& reader, size_t end, const char* id, size_t& chunkSize) {
    while (reader.position() + 8 <= end) {
        const uint8_t* chunkId = reader.bytes(4);
        const uint32_t size = reader.u32();
        if (size > end - reader.position())
            return false;
        if (std::memcmp(chunkId, id, 4) == 0) {
            chunkSize = size;
            return true;
        }
        reader.bytes(size);
        if ((size & 1) && reader.position() < end)
            reader.bytes(1);
    }
    return false;
}

// Mimics a stream read with "%d": skips white space, takes an optional sign and digits.
// Once a number fails, the stream stays at the offending character, so every later read fails too.
class DecimalScanner {
public:
    DecimalScanner(const std::vector<uint8_t>& text, size_t position) : m_text(text), m_pos(position) {}

    // Skips what a 256-character line buffer takes: up to 255 characters or through the newline.
    void skipLine() {
        for (int taken = 0; taken < 255 && m_pos < m_text.size(); ++taken)
            if (m_text[m_pos++] == '\n')
                return;
    }

    bool read(int& value) {
        if (m_failed)
            return false;
        while (m_pos < m_text.size() && std::strchr(" \t\r\n\v\f", m_text[m_pos]) && m_text[m_pos] != 0)
            ++m_pos;
        size_t p = m_pos;
        bool negative = false;
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
            negative = m_text[p++] == '-';
        if (p >= m_text.size() || m_text[p] < '0' || m_text[p] > '9') {
            m_failed = true;
            return false;
        }
        int64_t v = 0;
        for (; p < m_text.size() && m_text[p] >= '0' && m_text[p] <= '9'; ++p)
            v = std::min<int64_t>(v * 10 + (m_text[p] - '0'), int64_t(INT32_MAX) + 1);
        m_pos = p;
        v = negative ? -v : v;
        value = int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        return true;
    }

private:
    const std::vector<uint8_t>& m_text;
    size_t m_pos;
    bool m_failed = false;
};

}  // namespace

std::string WriteJascPalette(const Palette& palette) {
    const int count = std::clamp(palette.count, 0, kMaxPaletteEntries);
    std::string out = "JASC-PAL\n0100\n" + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = palette.entries[size_t(i)];
        out += std::to_string(e.red) + " " + std::to_string(e.green) + " " + std::to_string(e.blue) + "\n";
    }
    return out;
}

Status ReadRiffPalette(const std::vector<uint8_t>& bytes, Palette& palette) {
    try {
        ByteReader reader(bytes);
        if (std::memcmp(reader.bytes(4), "RIFF", 4) != 0)
            return Status::failure(str::UnknownFileFormat);
        const uint32_t formSize = reader.u32();
        const size_t end = std::min<size_t>(bytes.size(), size_t(formSize) + 8);
        if (end < 12 || std::memcmp(reader.bytes(4), "PAL ", 4) != 0)
            return Status::failure(str::UnknownFileFormat);
        size_t chunkSize = 0;
        if (!findChunk(reader, end, "data", chunkSize) || chunkSize < 4)
            return Status::failure(str::UnknownFileFormat);
        reader.u16();  // version
        const int count = std::min<int>(reader.u16(), kMaxPaletteEntries);
        if (size_t(count) * 4 > chunkSize - 4)
            return Status::failure(str::UnknownFileFormat);
        Palette result = palette;
        for (int i = 0; i < count; ++i) {
            const uint8_t* e = reader.bytes(4);
            result.entries[size_t(i)] = {e[0], e[1], e[2], 255};
        }
        result.count = count;
        palette = result;
        return Status::success();
    } catch (const FormatError&) {
        return Status::failure(str::UnknownFileFormat);
    }
}

Status ReadJascPalette(const std::vector<uint8_t>& bytes, Palette& palette) {
    if (!startsWith(bytes, "JASC"))
        return Status::failure(str::UnknownFileFormat);
    DecimalScanner scanner(bytes, 0);
    scanner.skipLine();
    scanner.skipLine();
    int count = palette.count;
    if (scanner.read(count))
        count = std::clamp(count, 0, kMaxPaletteEntries);
    palette.count = std::clamp(count, 0, kMaxPaletteEntries);
    for (int i = 0; i < palette.count; ++i) {
        PaletteEntry& e = palette.entries[size_t(i)];
        for (uint8_t* channel : {&e.red, &e.green, &e.blue}) {
            int value = 0;
            if (scanner.read(value))
                *channel = uint8_t(value);
        }
    }
    return Status::success();
}

Status ReadPaletteFile(const std::vector<uint8_t>& bytes, Palette& palette) {
    if (startsWith(bytes, "RIFF"))
        return ReadRiffPalette(bytes, palette);
    if (startsWith(bytes, "JASC"))
        return ReadJascPalette(bytes, palette);
    return Status::failure(str::UnknownFileFormat);
}

Status LoadPaletteFile(const std::string& path, Palette& palette) {
    std::vector<uint8_t> bytes;
    if (readFileBytes(path, bytes) != FileRead::Ok)
        return Status::failureText(kCannotOpenFileText);
    return ReadPaletteFile(bytes, palette);
}

Status SavePaletteFile(const std::string& path, const Palette& palette) {
    if (!writeFileAtomically(path, WriteJascPalette(palette)))
        return Status::failure(str::CannotCreateFile);
    return Status::success();
}

}  // namespace quib

#include "swf_bitmap.h"

#include <zlib.h>

#include <algorithm>

namespace quib {

namespace {

// Players mishandle very short lossless streams, so a compressed block is kept at 96 bytes or more
// by trying lower levels (level 0 stores the data).
constexpr size_t kMinimumCompressedSize = 96;

bool compressAt(const uint8_t* input, size_t size, int level, std::vector<uint8_t>& out) {
    size_t room = size + size / 100 + 12;
    room = std::max<size_t>(room, compressBound(uLong(size)));
    // Uninitialised room: zero-filling a frame-sized buffer would cost as much as a copy.
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[room]);
    uLongf produced = uLongf(room);
    if (compress2(buffer.get(), &produced, input, uLong(size), level) != Z_OK)
        return false;
    out.assign(buffer.get(), buffer.get() + produced);
    return true;
}

}  // namespace

size_t swfBitmapRowBytes(uint8_t format, int width) {
    if (width <= 0 || format > 5)
        return 0;
    return ((size_t(width) << format) + 31) / 32 * 4;
}

std::vector<uint8_t> swfPremultipliedArgb(const Bitmap32& picture) {
    std::vector<uint8_t> out(size_t(picture.width) * size_t(picture.height) * 4);
    const uint8_t* in = picture.pixels.data();
    for (size_t i = 0; i < out.size(); i += 4) {
        unsigned alpha = in[i + 3];
        out[i] = uint8_t(alpha);
        out[i + 1] = uint8_t(in[i + 2] * alpha / 255);
        out[i + 2] = uint8_t(in[i + 1] * alpha / 255);
        out[i + 3] = uint8_t(in[i] * alpha / 255);
    }
    return out;
}

std::unique_ptr<SwfDefineBitsLosslessTag> SwfDefineBitsLosslessTag::build(uint16_t id,
                                                                          const SwfBitmapDescription& b,
                                                                          std::string* error) {
    auto fail = [error](const char* text) {
        if (error)
            *error = text;
        return nullptr;
    };
    if (b.format != SwfBitmapDescription::ColorMapped8 && b.format != SwfBitmapDescription::Argb32)
        return fail("Formato di bitmap non supportato");
    if (b.width < 1 || b.width > 65535 || b.height < 1 || b.height > 65535)
        return fail("Dimensioni della bitmap non valide");
    size_t rowBytes = swfBitmapRowBytes(b.format, b.width);
    size_t pixelBytes = rowBytes * size_t(b.height);
    if (b.pixels.size() < pixelBytes)
        return fail("Dati della bitmap incompleti");
    size_t entryBytes = b.hasAlpha ? 4 : 3;
    size_t tableBytes = 0;
    if (b.format == SwfBitmapDescription::ColorMapped8) {
        if (b.colorCount < 1 || b.colorCount > 256)
            return fail("Numero di colori della bitmap non valido");
        if (b.colorTable.size() < size_t(b.colorCount) * 4)
            return fail("Tavolozza della bitmap incompleta");
        tableBytes = size_t(b.colorCount) * entryBytes;
    }
    if (b.level < 0 || b.level > 9)
        return fail("Livello di compressione non valido");

    // Without a colour table the caller's rows are compressed where they are.
    std::vector<uint8_t> joined;
    const uint8_t* input = b.pixels.data();
    size_t inputSize = pixelBytes;
    if (tableBytes > 0) {
        joined.reserve(tableBytes + pixelBytes);
        for (int i = 0; i < b.colorCount; ++i)
            joined.insert(joined.end(), b.colorTable.begin() + i * 4,
                          b.colorTable.begin() + i * 4 + entryBytes);
        joined.insert(joined.end(), b.pixels.begin(), b.pixels.begin() + pixelBytes);
        input = joined.data();
        inputSize = joined.size();
    }

    auto compressed = std::make_shared<std::vector<uint8_t>>();
    for (int level = b.level; level >= 0; --level) {
        if (!compressAt(input, inputSize, level, *compressed))
            return fail("Compressione della bitmap non riuscita");
        if (compressed->size() >= kMinimumCompressedSize)
            break;
    }

    std::unique_ptr<SwfDefineBitsLosslessTag> tag(new SwfDefineBitsLosslessTag());
    tag->m_id = id;
    tag->m_format = b.format;
    tag->m_width = uint16_t(b.width);
    tag->m_height = uint16_t(b.height);
    tag->m_colorCount = b.colorCount;
    tag->m_hasAlpha = b.hasAlpha;
    tag->m_data = std::move(compressed);
    return tag;
}

void SwfDefineBitsLosslessTag::encodeBody(SwfStream& out) const {
    out.writeU16(m_id);
    out.writeU8(m_format);
    out.writeU16(m_width);
    out.writeU16(m_height);
    if (m_format == SwfBitmapDescription::ColorMapped8)
        out.writeU8(uint8_t(m_colorCount - 1));
    out.appendBlock(m_data);
}

}  // namespace quib

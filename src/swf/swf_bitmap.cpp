#include "swf_bitmap.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "base/worker_pool.h"

namespace quib {

namespace {

// Players mishandle very short lossless streams, so a compressed block is kept at 96 bytes or more
// by trying lower levels (level 0 stores the data).
constexpr size_t kMinimumCompressedSize = 96;
constexpr const char* kCompressionFailed = "Compressione della bitmap non riuscita";

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

// The compressed block of the uncompressed bitmap data; null when it could not be compressed.
SwfBlock compressBitmapData(const uint8_t* input, size_t size, int level) {
    auto compressed = std::make_shared<std::vector<uint8_t>>();
    for (; level >= 0; --level) {
        if (!compressAt(input, size, level, *compressed))
            return nullptr;
        if (compressed->size() >= kMinimumCompressedSize)
            break;
    }
    return compressed;
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
                                                                          std::string* error,
                                                                          WorkerPool* pool) {
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

    // Without a colour table (and without a pool) the caller's rows are compressed where they are.
    auto joined = std::make_shared<std::vector<uint8_t>>();
    const uint8_t* input = b.pixels.data();
    size_t inputSize = pixelBytes;
    if (tableBytes > 0 || pool) {
        joined->reserve(tableBytes + pixelBytes);
        for (int i = 0; i < b.colorCount && tableBytes > 0; ++i)
            joined->insert(joined->end(), b.colorTable.begin() + i * 4,
                           b.colorTable.begin() + i * 4 + entryBytes);
        joined->insert(joined->end(), b.pixels.begin(), b.pixels.begin() + pixelBytes);
        input = joined->data();
        inputSize = joined->size();
    }

    std::shared_future<SwfBlock> data;
    if (pool) {
        auto promise = std::make_shared<std::promise<SwfBlock>>();
        data = promise->get_future().share();
        pool->submit([promise, joined, level = b.level] {
            SwfBlock block;
            try {
                block = compressBitmapData(joined->data(), joined->size(), level);
            } catch (const std::bad_alloc&) {
                // A failed block refuses the movie when it is written.
            }
            promise->set_value(std::move(block));
        });
    } else {
        SwfBlock compressed = compressBitmapData(input, inputSize, b.level);
        if (!compressed)
            return fail(kCompressionFailed);
        std::promise<SwfBlock> done;
        done.set_value(std::move(compressed));
        data = done.get_future().share();
    }

    std::unique_ptr<SwfDefineBitsLosslessTag> tag(new SwfDefineBitsLosslessTag());
    tag->m_id = id;
    tag->m_format = b.format;
    tag->m_width = uint16_t(b.width);
    tag->m_height = uint16_t(b.height);
    tag->m_colorCount = b.colorCount;
    tag->m_hasAlpha = b.hasAlpha;
    tag->m_data = std::move(data);
    return tag;
}

size_t SwfDefineBitsLosslessTag::compressedSize() const {
    const SwfBlock& data = m_data.get();
    return data ? data->size() : 0;
}

std::string SwfDefineBitsLosslessTag::deferredError() const {
    return m_data.get() ? std::string() : std::string(kCompressionFailed);
}

void SwfDefineBitsLosslessTag::encodeBody(SwfStream& out) const {
    out.writeU16(m_id);
    out.writeU8(m_format);
    out.writeU16(m_width);
    out.writeU16(m_height);
    if (m_format == SwfBitmapDescription::ColorMapped8)
        out.writeU8(uint8_t(m_colorCount - 1));
    out.appendBlock(m_data.get());
}

}  // namespace quib

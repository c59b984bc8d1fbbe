#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "swf_stream.h"
#include "swf_tags.h"

namespace quib {

class WorkerPool;

// A lossless bitmap as the caller hands it over. Rows are already padded to 32 bits; 32-bit pixels
// are alpha (or reserved), red, green, blue, premultiplied when hasAlpha is set.
struct SwfBitmapDescription {
    enum Format : uint8_t { ColorMapped8 = 3, Argb32 = 5 };
    uint8_t format = Argb32;
    int width = 0;
    int height = 0;
    int colorCount = 0;  // format 3: 1..256 entries
    bool hasAlpha = false;
    std::span<const uint8_t> pixels;      // height rows of swfBitmapRowBytes(format, width)
    std::span<const uint8_t> colorTable;  // format 3: colorCount entries of red, green, blue, alpha
    int level = 9;
};

// Row size in bytes, padded to 32 bits: ((width * 2^format) + 31) / 32 * 4.
size_t swfBitmapRowBytes(uint8_t format, int width);

// Pixels of a top-down blue-green-red-alpha picture as premultiplied alpha, red, green, blue rows.
std::vector<uint8_t> swfPremultipliedArgb(const Bitmap32& picture);

// DefineBitsLossless (20) or, with alpha, DefineBitsLossless2 (36). The pixel data is compressed once
// when the tag is built; encoding references the compressed block without copying it.
class SwfDefineBitsLosslessTag final : public SwfTag {
public:
    // Nothing (and the reason in *error) for a description that does not hold together or, without
    // a pool, data that could not be compressed. With a pool the pixels are copied and compressed
    // on it; the sizes and the data below wait for that, and a failure shows in deferredError.
    static std::unique_ptr<SwfDefineBitsLosslessTag> build(uint16_t id, const SwfBitmapDescription& bitmap,
                                                           std::string* error, WorkerPool* pool = nullptr);

    uint16_t code() const override { return m_hasAlpha ? 36 : 20; }
    uint16_t characterId() const override { return m_id; }
    void encodeBody(SwfStream& out) const override;

    int width() const { return m_width; }
    int height() const { return m_height; }
    size_t compressedSize() const;
    const SwfBlock& compressedData() const { return m_data.get(); }
    // The block as it will be once compressed, to be read later without holding the tag.
    const std::shared_future<SwfBlock>& compressedDataWhenReady() const { return m_data; }
    std::string deferredError() const override;

private:
    SwfDefineBitsLosslessTag() = default;
    uint16_t m_id = 0;
    uint8_t m_format = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    int m_colorCount = 0;
    bool m_hasAlpha = false;
    std::shared_future<SwfBlock> m_data;  // null once compression failed
};

}  // namespace quib

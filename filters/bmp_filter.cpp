// BMP: reads uncompressed 1, 4, 8, 16, 24 and 32-bit pictures (and bit-field masks), writes 24-bit.
#include <cstdio>

#include "plugin_support.h"

namespace quib_filter {

namespace {

uint32_t u16At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}
uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return u16At(b, at) | u16At(b, at + 2) << 16;
}

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = 0;
    uint32_t pixelOffset = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    std::vector<uint8_t> colours;      // blue, green, red, unused per entry
    size_t colourCount = 0;
};

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

bool parseHeader(const std::vector<uint8_t>& b, BmpLayout& l) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M')
        return false;
    l.pixelOffset = u32At(b, 10);
    const uint32_t headerSize = u32At(b, 14);
    if (headerSize < 12 || headerSize > b.size() - 14)
        return false;
    int64_t height = 0;
    if (headerSize == 12) {
        l.width = int32_t(u16At(b, 18));
        height = int16_t(u16At(b, 20));
        l.bitCount = int(u16At(b, 24));
    } else {
        if (headerSize < 40)
            return false;
        l.width = int32_t(u32At(b, 18));
        height = int32_t(u32At(b, 22));
        l.bitCount = int(u16At(b, 28));
        l.compression = u32At(b, 30);
    }
    l.topDown = height < 0;
    if (height < 0)
        height = -height;
    if (!sizeAcceptable(l.width, height))
        return false;
    l.height = int32_t(height);
    const size_t paletteStart = 14 + headerSize;
    const size_t entrySize = headerSize == 12 ? 3 : 4;
    if (l.compression == kBitFields || l.compression == kAlphaBitFields) {
        if (l.bitCount != 16 && l.bitCount != 32)
            return false;
        // The masks follow a 40-byte header, or sit inside a longer one.
        const int maskCount = l.compression == kAlphaBitFields ? 4 : 3;
        if (b.size() < 54 + size_t(maskCount) * 4)
            return false;
        for (int i = 0; i < maskCount; ++i)
            l.masks[i] = u32At(b, 54 + size_t(i) * 4);
        if (headerSize >= 56)
            l.masks[3] = u32At(b, 66);
    } else if (l.compression != kRgb) {
        return false;
    } else if (l.bitCount == 16) {
        l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
    } else if (l.bitCount == 32) {
        l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
    }
    if (l.bitCount == 1 || l.bitCount == 4 || l.bitCount == 8) {
        size_t count = headerSize == 12 ? 0 : u32At(b, 46);
        if (count == 0 || count > (size_t(1) << l.bitCount))
            count = size_t(1) << l.bitCount;
        if (paletteStart > b.size() || count > (b.size() - paletteStart) / entrySize)
            return false;
        l.colourCount = count;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = &b[paletteStart + i * entrySize];
            l.colours.insert(l.colours.end(), {e[0], e[1], e[2], 255});
        }
    } else if (l.bitCount != 16 && l.bitCount != 24 && l.bitCount != 32) {
        return false;
    }
    return true;
}

uint8_t maskedChannel(uint32_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & (1u << shift)))
        ++shift;
    const uint32_t max = mask >> shift;
    return uint8_t(uint64_t((value & mask) >> shift) * 255 / max);
}

// The pixels are stored uncompressed: a size is accepted only when the file holds all its rows.
class BmpDecoder : public Decoder {
public:
    bool open(const char* path) {
        if (!readWholeFile(path, b) || !parseHeader(b, l))
            return false;
        stride = ((size_t(l.width) * size_t(l.bitCount) + 31) / 32) * 4;
        if (l.pixelOffset > b.size() || stride * size_t(l.height) > b.size() - l.pixelOffset)
            return false;
        width = l.width;
        height = l.height;
        return true;
    }
    bool decodeInto(uint8_t* bgra) override;

private:
    std::vector<uint8_t> b;
    BmpLayout l;
    size_t stride = 0;
};

bool BmpDecoder::decodeInto(uint8_t* bgra) {
    for (int32_t y = 0; y < l.height; ++y) {
        const size_t sourceRow = l.topDown ? size_t(y) : size_t(l.height - 1 - y);
        const uint8_t* row = &b[l.pixelOffset + sourceRow * stride];
        uint8_t* out = bgra + size_t(y) * size_t(l.width) * 4;
        for (int32_t x = 0; x < l.width; ++x, out += 4) {
            switch (l.bitCount) {
                case 1:
                case 4:
                case 8: {
                    const size_t bit = size_t(x) * size_t(l.bitCount);
                    const int shift = 8 - l.bitCount - int(bit % 8);
                    const size_t index = (row[bit / 8] >> shift) & ((1u << l.bitCount) - 1);
                    if (index < l.colourCount)
                        std::memcpy(out, &l.colours[index * 4], 4);
                    else
                        out[3] = 255;
                    break;
                }
                case 24:
                    out[0] = row[x * 3], out[1] = row[x * 3 + 1], out[2] = row[x * 3 + 2], out[3] = 255;
                    break;
                default: {
                    const uint32_t v = l.bitCount == 16 ? u16At(b, size_t(row - b.data()) + size_t(x) * 2)
                                                        : u32At(b, size_t(row - b.data()) + size_t(x) * 4);
                    out[0] = maskedChannel(v, l.masks[2]);
                    out[1] = maskedChannel(v, l.masks[1]);
                    out[2] = maskedChannel(v, l.masks[0]);
                    out[3] = l.masks[3] ? maskedChannel(v, l.masks[3]) : 255;
                }
            }
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<Decoder> openDecoder(const char* path) {
    auto decoder = std::make_unique<BmpDecoder>();
    if (!decoder->open(path))
        return nullptr;
    return decoder;
}

bool encode(const char* path, const ImageDesc& desc) {
    const size_t stride = (size_t(desc.width) * 3 + 3) & ~size_t(3);
    const size_t imageSize = stride * size_t(desc.height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageSize);
    auto u16 = [&out](uint32_t v) { out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&u16](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    out.push_back('B'), out.push_back('M');
    u32(uint32_t(54 + imageSize)), u32(0), u32(54);
    u32(40), u32(uint32_t(desc.width)), u32(uint32_t(desc.height)), u16(1), u16(24), u32(kRgb);
    u32(uint32_t(imageSize)), u32(2835), u32(2835), u32(0), u32(0);
    const auto* pixels = static_cast<const uint8_t*>(desc.pixels);
    for (int32_t y = desc.height - 1; y >= 0; --y) {
        const uint8_t* row = pixels + size_t(y) * size_t(desc.width) * 4;
        for (int32_t x = 0; x < desc.width; ++x)
            out.insert(out.end(), row + x * 4, row + x * 4 + 3);
        out.resize(out.size() + (stride - size_t(desc.width) * 3), 0);
    }
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace quib_filter

QUIB_DEFINE_FILTER("bmp;dib", "Bitmap di Windows (*.bmp)|*.bmp;*.dib", true, true)

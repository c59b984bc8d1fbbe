#include "bitmap_decoder.h"

#include <algorithm>
#include <vector>

#include "base/byte_stream.h"
#include "base/zlib_util.h"

namespace quib::player {

namespace {

// Deflate never expands data by more than this factor, so a declared size beyond it cannot
// come from the compressed bytes that are there.
constexpr uint64_t MaxInflateRatio = 1032;
// A picture is held at four bytes a pixel: beyond this it is refused rather than allocated.
constexpr uint64_t MaxBitmapPixels = uint64_t(1) << 26;

Pixel premultipliedPixel(int a, int r, int g, int b) {
    // Keeps the colour within its alpha, so damaged data still gives a valid premultiplied pixel.
    return packPixel(std::min(r, a), std::min(g, a), std::min(b, a), a);
}

}  // namespace

uint16_t decodeLosslessBitmap(SwfBitReader& body, bool withAlpha, BitmapCharacter& out) {
    uint16_t id = body.u16();
    int format = body.u8();
    int width = body.u16();
    int height = body.u16();
    int tableSize = 0;
    uint64_t rowBytes = 0;
    switch (format) {
        case 3:
            tableSize = body.u8() + 1;
            rowBytes = (uint64_t(width) + 3) & ~uint64_t(3);
            break;
        case 4:
            rowBytes = (uint64_t(width) * 2 + 3) & ~uint64_t(3);
            break;
        case 5:
            rowBytes = uint64_t(width) * 4;
            break;
        default:
            throw FormatError("formato di bitmap sconosciuto " + std::to_string(format));
    }
    const uint64_t entryBytes = withAlpha ? 4 : 3;
    const uint64_t tableBytes = uint64_t(tableSize) * entryBytes;
    const uint64_t expected = tableBytes + rowBytes * uint64_t(height);

    size_t packedSize = body.remaining();
    const uint8_t* packed = body.bytes(packedSize);
    if (expected > uint64_t(packedSize) * MaxInflateRatio + 64)
        throw FormatError("bitmap " + std::to_string(id) + " troppo grande per i suoi dati");

    std::vector<uint8_t> raw(expected);
    auto produced = zlibUncompress(packed, packedSize, raw.data(), raw.size());
    if (!produced || *produced != expected)
        throw FormatError("dati compressi della bitmap " + std::to_string(id) + " danneggiati");

    if (width == 0 || height == 0) {
        out.image = Picture();
        return id;
    }
    if (uint64_t(width) * uint64_t(height) > MaxBitmapPixels)
        throw FormatError("bitmap " + std::to_string(id) + " troppo grande");
    Picture image(width, height);

    const uint8_t* rows = raw.data() + tableBytes;
    if (format == 3) {
        std::vector<Pixel> table(256, 0);
        for (int i = 0; i < tableSize; ++i) {
            const uint8_t* e = raw.data() + size_t(i) * entryBytes;
            table[size_t(i)] =
                withAlpha ? premultipliedPixel(e[3], e[0], e[1], e[2]) : packPixel(e[0], e[1], e[2]);
        }
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = rows + uint64_t(y) * rowBytes;
            Pixel* dst = image.row(y);
            // Indices past the table read as transparent.
            for (int x = 0; x < width; ++x)
                dst[x] = table[src[x]];
        }
    } else if (format == 4) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = rows + uint64_t(y) * rowBytes;
            Pixel* dst = image.row(y);
            for (int x = 0; x < width; ++x) {
                int v = (src[2 * x] << 8) | src[2 * x + 1];
                int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                dst[x] = packPixel(r * 255 / 31, g * 255 / 31, b * 255 / 31);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = rows + uint64_t(y) * rowBytes;
            Pixel* dst = image.row(y);
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = src + 4 * x;
                dst[x] = withAlpha ? premultipliedPixel(p[0], p[1], p[2], p[3]) : packPixel(p[1], p[2], p[3]);
            }
        }
    }
    out.image = std::move(image);
    return id;
}

}  // namespace quib::player

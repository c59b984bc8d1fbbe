#include "movie_pixels.h"

namespace quib {

void convertImageForMovie(const Bitmap24& source, std::vector<uint8_t>& out, const ColorTable* palette) {
    out.resize(OutputBytesForMovie(source.width, source.height, palette != nullptr));
    ConvertImageForMovie(source.pixels.data(), source.width, source.height, out.data(),
                         palette ? palette->entries.data() : nullptr, palette ? palette->count : 0,
                         palette != nullptr);
}

ColorTable compactPalette(uint8_t* pixels, int stride, int width, int height, const ColorTable& in) {
    ColorTable out;
    out.count = CompactPalette(pixels, stride, in.entries.data(), width, height, out.entries.data());
    return out;
}

void mapToPalette(const uint8_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const ColorTable& table, uint32_t marker) {
    out.assign(indexedRowBytes(width) * size_t(height), 0);
    MapToPalette(pixels, width, height, out.data(), table.entries.data(), table.count, marker);
}

}  // namespace quib

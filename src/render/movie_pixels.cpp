#include "movie_pixels.h"

#include <cstring>

namespace quib {

namespace {

// Index of the palette colour nearest to red, green, blue; entries with alpha 0 are skipped.
int nearestEntry(const ColorTable& palette, int first, uint8_t red, uint8_t green, uint8_t blue, int64_t start) {
    int best = 0;
    int64_t bestDistance = start;
    for (int i = first; i < palette.count; ++i) {
        const uint8_t* e = palette.entry(i);
        if (e[3] == 0 && first == 0)
            continue;
        const int64_t dr = int64_t(e[0]) - red, dg = int64_t(e[1]) - green, db = int64_t(e[2]) - blue;
        const int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace

void convertImageForMovie(const Bitmap24& source, std::vector<uint8_t>& out, const ColorTable* palette) {
    const int w = source.width, h = source.height;
    if (!palette) {
        out.resize(size_t(w) * size_t(h) * 4);
        const uint8_t* s = source.pixels.data();
        uint8_t* d = out.data();
        for (size_t n = size_t(w) * size_t(h); n > 0; --n, s += 3, d += 4) {
            d[0] = 255, d[1] = s[2], d[2] = s[1], d[3] = s[0];
        }
        return;
    }
    const size_t stride = indexedRowBytes(w);
    out.assign(stride * size_t(h), 0);
    bool havePrevious = false;
    uint8_t pb = 0, pg = 0, pr = 0, previousIndex = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = source.pixel(0, y);
        uint8_t* d = out.data() + size_t(y) * stride;
        for (int x = 0; x < w; ++x, s += 3) {
            if (!havePrevious || s[0] != pb || s[1] != pg || s[2] != pr) {
                previousIndex = uint8_t(nearestEntry(*palette, 0, s[2], s[1], s[0], 1000000000));
                pb = s[0], pg = s[1], pr = s[2];
                havePrevious = true;
            }
            d[x] = previousIndex;
        }
    }
}

ColorTable compactPalette(uint8_t* pixels, int stride, int width, int height, const ColorTable& in) {
    int64_t counts[256] = {};
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            ++counts[row[x]];
    }
    ColorTable out;
    uint8_t renumber[256] = {};
    for (int k = 0; k < 256; ++k) {
        int picked = k;
        for (int e = 0; e < 256; ++e) {
            if (counts[e] > counts[picked])
                picked = e;
        }
        if (counts[picked] <= 0)
            break;
        std::memcpy(out.entry(k), in.entry(picked), 4);
        renumber[picked] = uint8_t(k);
        counts[picked] = -1;
        out.count = k + 1;
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            row[x] = renumber[row[x]];
    }
    return out;
}

void mapToPalette(const uint8_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const ColorTable& table, uint32_t marker) {
    const size_t stride = indexedRowBytes(width);
    out.assign(stride * size_t(height), 0);
    const uint8_t* p = pixels;
    const uint8_t* previous = nullptr;
    uint8_t previousIndex = 0;
    for (int y = 0; y < height; ++y) {
        uint8_t* d = out.data() + size_t(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            uint32_t word;
            std::memcpy(&word, p, 4);
            uint8_t index;
            if (word == marker)
                index = 0;
            else if (previous && previousIndex != 0 && std::memcmp(previous, p, 3) == 0)
                index = previousIndex;
            else
                index = uint8_t(nearestEntry(table, 1, p[2], p[1], p[0], 10000000000LL));
            d[x] = index;
            previous = p;
            previousIndex = index;
        }
    }
}

std::optional<IndexedPicture> renderTextBoxIndexed(const Callout&, const Rect& rect, const TextFont&,
                                                   const std::string&) {
    if (rect.isEmpty())
        return std::nullopt;
    return std::nullopt;
}

}  // namespace quib

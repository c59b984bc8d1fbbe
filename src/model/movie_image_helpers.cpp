#include "model/movie_image_helpers.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <optional>

#include "base/bitmap.h"
#include "palette/nearest_colour_map.h"
#include "palette/octree.h"
#include "raster/draw_context.h"
#include "shapes/callout.h"

namespace quib {

namespace {

uint32_t wordAt(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t colourAt(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

int64_t distance(const uint8_t* bgr, const PaletteEntry& entry) {
    const int64_t db = int64_t(bgr[0]) - entry.blue;
    const int64_t dg = int64_t(bgr[1]) - entry.green;
    const int64_t dr = int64_t(bgr[2]) - entry.red;
    return dr * dr + dg * dg + db * db;
}

// The entry from `first` to count - 1 nearest to the pixel, ties to the lowest index; entries whose
// fourth byte is 0 are passed over when skipTransparent is set. 0 when no entry is nearer than start.
uint8_t nearestEntry(const uint8_t* bgr, const PaletteEntry* palette, int first, int count, int64_t start,
                     bool skipTransparent) {
    uint8_t index = 0;
    int64_t best = start;
    for (int i = first; i < count; ++i) {
        if (skipTransparent && palette[i].flags == 0)
            continue;
        const int64_t d = distance(bgr, palette[i]);
        if (d < best)
            best = d, index = uint8_t(i);
    }
    return index;
}

// Alpha below which a drawn pixel over the marker counts as not drawn in the movie picture.
constexpr int kCoverageThreshold = 128;

}  // namespace

std::optional<IndexedPicture> RenderTextBoxIndexed(const Callout& callout, const Rect& rect,
                                                   const LogFont& logFont, uint32_t textColour,
                                                   std::optional<std::string_view> text, uint32_t align) {
    const int w = rect.width();
    const int h = rect.height();
    if (w <= 0 || h <= 0 || !pictureBytes(IndexedStride(w), h, 4))
        return std::nullopt;
    QImage surface(w, h, QImage::Format_ARGB32);
    if (surface.isNull())
        return std::nullopt;
    surface.fill(QColor::fromRgba(kTransparentMarker));
    {
        raster::DrawContext dc(surface);
        dc.setFont(logFont);
        dc.setTextColour(textColour);
        callout.DrawCallout(dc, Rect{0, 0, w, h}, text, align);
    }

    // Text drawn over untouched pixels keeps its own colour with the coverage as alpha. The
    // movie picture is either opaque or transparent, so faint edges become transparent and the
    // rest opaque text colour: no edge ever mixes with the marker into a dark fringe.
    OctreeQuantizer octree(kMaxPaletteEntries - 1);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = surface.scanLine(y);
        for (int x = 0; x < w; ++x, p += 4) {
            if (p[3] < kCoverageThreshold) {
                std::memset(p, 1, 4);
                continue;
            }
            p[3] = 255;
            octree.addPixel(p[2], p[1], p[0]);
        }
    }

    IndexedPicture picture;
    picture.width = w;
    picture.height = h;
    const std::vector<PaletteEntry> colours = octree.palette();
    picture.palette[0] = PaletteEntry{0, 0, 0, 0};
    const size_t used = std::min(colours.size(), size_t(kMaxPaletteEntries - 1));
    std::copy_n(colours.begin(), used, picture.palette.begin() + 1);
    picture.colourCount = int(used) + 1;
    picture.pixels.assign(size_t(IndexedStride(w)) * size_t(h), 0);
    // The surface rows are w x 4 bytes already, so they are the contiguous pixels MapToPalette reads.
    MapToPalette(surface.constBits(), w, h, picture.pixels.data(), picture.palette.data(),
                 picture.colourCount, kTransparentMarker);
    return picture;
}

void MapToPalette(const uint8_t* pixels, int width, int height, uint8_t* output, const PaletteEntry* palette,
                  int count, uint32_t marker) {
    if (!pixels || !output || width <= 0 || height <= 0)
        return;
    count = std::min(count, kMaxPaletteEntries);
    const int stride = IndexedStride(width);
    bool havePrevious = false;
    uint32_t previousColour = 0;
    uint8_t previousIndex = 0;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = output + size_t(y) * size_t(stride);
        const uint8_t* p = pixels + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x, p += 4) {
            uint8_t index = 0;
            const uint32_t colour = colourAt(p);
            if (wordAt(p) == marker) {
                index = 0;
            } else if (havePrevious && colour == previousColour && previousIndex != 0) {
                index = previousIndex;
            } else if (palette) {
                index = nearestEntry(p, palette, 1, count, 10000000000LL, false);
            }
            out[x] = index;
            havePrevious = true;
            previousColour = colour;
            previousIndex = index;
        }
        std::fill(out + width, out + stride, uint8_t(0));
    }
}

int CompactPalette(uint8_t* pixels, int stride, const PaletteEntry* paletteIn, int width, int height,
                   PaletteEntry* paletteOut) {
    if (!pixels || !paletteIn || !paletteOut || width <= 0 || height <= 0 || stride < width)
        return 0;
    int64_t counts[kMaxPaletteEntries] = {};
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            ++counts[row[x]];
    }
    uint8_t newIndex[kMaxPaletteEntries] = {};
    int kept = 0;
    for (int k = 0; k < kMaxPaletteEntries; ++k) {
        int pick = k;
        for (int j = 0; j < kMaxPaletteEntries; ++j)
            if (counts[j] > counts[pick])
                pick = j;
        if (counts[pick] <= 0)
            break;
        paletteOut[k] = paletteIn[pick];
        newIndex[pick] = uint8_t(k);
        counts[pick] = -1;
        kept = k + 1;
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            row[x] = newIndex[row[x]];
    }
    return kept;
}

size_t OutputBytesForMovie(int width, int height, bool usePalette) {
    if (width <= 0 || height <= 0)
        return 0;
    return usePalette ? size_t(IndexedStride(width)) * size_t(height) : size_t(width) * size_t(height) * 4;
}

void ConvertImageForMovie(const uint8_t* source, int width, int height, uint8_t* output,
                          const PaletteEntry* palette, int count, bool usePalette,
                          NearestColourMap* nearest) {
    if (!source || !output || width <= 0 || height <= 0)
        return;
    if (!usePalette) {
        const size_t n = size_t(width) * size_t(height);
        for (size_t i = 0; i < n; ++i, source += 3, output += 4) {
            output[0] = 255;
            output[1] = source[2];
            output[2] = source[1];
            output[3] = source[0];
        }
        return;
    }
    count = std::min(count, kMaxPaletteEntries);
    std::optional<NearestColourMap> ownMap;
    if (!nearest && palette)
        nearest = &ownMap.emplace(palette, 0, count, true);
    const int stride = IndexedStride(width);
    bool havePrevious = false;
    uint32_t previousColour = 0;
    uint8_t previousIndex = 0;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = output + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x, source += 3) {
            const uint32_t colour = colourAt(source);
            uint8_t index = 0;
            if (havePrevious && colour == previousColour) {
                index = previousIndex;
            } else if (palette) {
                index = nearest->nearest(source[0], source[1], source[2]);
            }
            out[x] = index;
            havePrevious = true;
            previousColour = colour;
            previousIndex = index;
        }
        std::fill(out + width, out + stride, uint8_t(0));
    }
}

}  // namespace quib

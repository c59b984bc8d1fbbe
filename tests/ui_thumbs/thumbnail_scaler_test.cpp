#include <gtest/gtest.h>

#include <zlib.h>

#include "base/zlib_util.h"
#include "ui/thumbnail_builder.h"
#include "ui/thumbnail_scaler.h"

namespace quib {
namespace {

// Straightforward reference: every destination pixel sums its inclusive source box.
std::vector<uint8_t> referenceBoxFilter(const std::vector<uint8_t>& src, int sw, int sh, int dw, int dh) {
    std::vector<uint8_t> out(size_t(dw) * size_t(dh) * 3);
    for (int y = 0; y < dh; ++y) {
        const int y0 = std::min(y * sh / dh, sh - 1), y1 = std::min((y + 1) * sh / dh, sh - 1);
        for (int x = 0; x < dw; ++x) {
            const int x0 = std::min(x * sw / dw, sw - 1), x1 = std::min((x + 1) * sw / dw, sw - 1);
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0, n = 0;
                for (int yy = y0; yy <= y1; ++yy)
                    for (int xx = x0; xx <= x1; ++xx, ++n)
                        sum += src[(size_t(yy) * size_t(sw) + size_t(xx)) * 3 + size_t(c)];
                out[(size_t(y) * size_t(dw) + size_t(x)) * 3 + size_t(c)] = uint8_t(sum / n);
            }
        }
    }
    return out;
}

std::vector<uint8_t> noisePicture(int w, int h, uint32_t seed) {
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 3);
    for (uint8_t& p : pixels) {
        seed = seed * 1664525u + 1013904223u;
        p = uint8_t(seed >> 24);
    }
    return pixels;
}

std::vector<uint8_t> compressed(const std::vector<uint8_t>& pixels) {
    return *zlibCompress(pixels.data(), pixels.size(), 1);
}

TEST(BoxFilter, CompressedStreamGivesTheSameAsTheDecompressedPicture) {
    const int sw = 333, sh = 250, dw = 40, dh = 30;
    const auto src = noisePicture(sw, sh, 7);
    const auto stream = compressed(src);
    BoxFilter filter(sw, sh, dw, dh);
    std::vector<uint8_t> scratch;
    EXPECT_TRUE(filterCompressedPicture(stream.data(), stream.size(), filter, scratch));
    std::vector<uint8_t> out(size_t(dw) * size_t(dh) * 3);
    filter.write(out.data(), size_t(dw) * 3);
    EXPECT_EQ(out, referenceBoxFilter(src, sw, sh, dw, dh));
}

TEST(BoxFilter, DamagedOrShortStreamsFailAndLeaveMissingRowsBlack) {
    const int sw = 64, sh = 64;
    std::vector<uint8_t> white(size_t(sw) * size_t(sh) * 3, 255);
    auto stream = compressed(white);
    stream.resize(stream.size() / 2);
    BoxFilter filter(sw, sh, 8, 8);
    std::vector<uint8_t> scratch;
    EXPECT_FALSE(filterCompressedPicture(stream.data(), stream.size(), filter, scratch));
    std::vector<uint8_t> out(8 * 8 * 3);
    filter.write(out.data(), 8 * 3);
    EXPECT_EQ(out[0], 255);             // the top was read
    EXPECT_EQ(out[out.size() - 1], 0);  // the bottom never came
    const uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    filter.reset();
    EXPECT_FALSE(filterCompressedPicture(garbage, sizeof garbage, filter, scratch));
    EXPECT_FALSE(filterCompressedPicture(garbage, 0, filter, scratch));
}

}  // namespace
}  // namespace quib

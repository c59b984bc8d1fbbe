#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "palette/frame_palette.h"
#include "palette/octree.h"

namespace quib {
namespace {

// A desktop-like picture: a flat background, a title-bar gradient, windows with text-like
// speckles and an anti-aliased photo strip, shifted a little by `variant` so frames differ.
Bitmap24 screenLike(int width, int height, int variant) {
    Bitmap24 picture(width, height);
    uint32_t seed = 12345u + uint32_t(variant) * 7919u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            uint8_t r = 58, g = 110, b = 165;  // desktop
            const int wx = x - 200 - variant * 8, wy = y - 120 - variant * 4;
            if (wx >= 0 && wx < 1200 && wy >= 0 && wy < 760) {
                if (wy < 30) {
                    r = uint8_t(10 + wx / 6), g = uint8_t(36 + wx / 8), b = 106;  // title bar gradient
                } else {
                    r = g = b = 255;  // window body
                    seed = seed * 1103515245u + 12345u;
                    if ((wy % 18) < 11 && (wx % 300) < 260 && (seed >> 16) % 5 == 0)
                        r = g = b = uint8_t((seed >> 8) & 0x7F);  // text strokes, grey anti-aliasing
                }
            }
            if (y > height - 40)
                r = g = b = 212;                   // task bar
            if (x > 1500 && y > 200 && y < 500) {  // photo strip
                r = uint8_t(x * 3 + y), g = uint8_t(y * 2 - x), b = uint8_t((x ^ y) + variant);
            }
            p[0] = b, p[1] = g, p[2] = r;
        }
    }
    return picture;
}

void BM_OctreePalette_100FullHdFrames(benchmark::State& state) {
    constexpr int kFrames = 100, kWidth = 1920, kHeight = 1080;
    std::vector<Bitmap24> distinct;
    for (int i = 0; i < 4; ++i)
        distinct.push_back(screenLike(kWidth, kHeight, i));
    PaletteSource source;
    source.frameCount = kFrames;
    source.frameHeight = kHeight;
    source.frameAt = [&distinct](int index, Bitmap24& picture) {
        picture = distinct[size_t(index) % distinct.size()];
        return true;
    };
    NullProgress progress;
    size_t colours = 0;
    for (auto _ : state) {
        const auto palette = BuildPaletteFromFrames(source, int(state.range(0)), progress);
        colours = palette ? palette->size() : 0;
        benchmark::DoNotOptimize(colours);
    }
    state.counters["colours"] = double(colours);
    state.SetItemsProcessed(state.iterations() * int64_t(kFrames) * kWidth * kHeight);
}
BENCHMARK(BM_OctreePalette_100FullHdFrames)->Arg(256)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OctreePalette_CursorPicture(benchmark::State& state) {
    Bitmap32 cursor(32, 32);
    for (size_t i = 0; i < cursor.pixels.size(); ++i)
        cursor.pixels[i] = uint8_t(i * 37);
    for (auto _ : state)
        benchmark::DoNotOptimize(OctreePalette(cursor, 255));
}
BENCHMARK(BM_OctreePalette_CursorPicture);

}  // namespace
}  // namespace quib

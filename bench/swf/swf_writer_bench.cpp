// Writing a movie of full-screen 32-bit frames: how much of the time is the writer's own and how
// much is zlib's. Both benchmarks see the same 100 pictures and the same compress2 calls.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "swf/swf_bitmap.h"
#include "swf/swf_movie.h"
#include "swf/swf_shape_object.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 100;

// A desktop-like picture: flat background, a few windows with title bars, and lines of "text"
// (short runs of dark pixels) that change from frame to frame like typing and scrolling.
class ScreenPictures {
public:
    ScreenPictures() : m_pixels(size_t(kWidth) * kHeight * 4) {
        fillRect(0, 0, kWidth, kHeight, 0x3A6EA5);
        fillRect(0, kHeight - 40, kWidth, 40, 0xC0C0C0);
        for (int w = 0; w < 3; ++w) {
            int x = 100 + w * 500, y = 80 + w * 120;
            fillRect(x, y, 900, 600, 0xFFFFFF);
            fillRect(x, y, 900, 24, 0x000080 + w * 0x101000);
        }
    }

    // Updates the picture in place for frame f (a few text lines and a moving window).
    const std::vector<uint8_t>& frame(int f) {
        int x = 120 + (f * 7) % 300, y = 380 + (f * 3) % 200;
        fillRect(x, y, 700, 300, 0xFFFFFF);
        uint32_t seed = uint32_t(f) * 2654435761u;
        for (int line = 0; line < 18; ++line) {
            int cx = x + 10;
            while (cx < x + 680) {
                seed = seed * 1103515245u + 12345u;
                int word = 8 + int((seed >> 16) % 50);
                fillRect(cx, y + 8 + line * 16, word, 9, (seed >> 8) % 4 == 0 ? 0x0000C0 : 0x202020);
                cx += word + 6;
            }
        }
        return m_pixels;
    }

private:
    void fillRect(int x, int y, int w, int h, uint32_t rgb) {
        for (int yy = y; yy < y + h && yy < kHeight; ++yy)
            for (int xx = x; xx < x + w && xx < kWidth; ++xx) {
                uint8_t* p = m_pixels.data() + (size_t(yy) * kWidth + size_t(xx)) * 4;
                p[0] = 255;
                p[1] = uint8_t(rgb >> 16);
                p[2] = uint8_t(rgb >> 8);
                p[3] = uint8_t(rgb);
            }
    }
    std::vector<uint8_t> m_pixels;
};

quib::SwfBitmapDescription describe(const std::vector<uint8_t>& pixels) {
    quib::SwfBitmapDescription d;
    d.format = quib::SwfBitmapDescription::Argb32;
    d.width = kWidth;
    d.height = kHeight;
    d.hasAlpha = false;
    d.pixels = pixels;
    d.level = 9;
    return d;
}

// The whole writer: bitmap objects (compression included), placements, depths and encoding.
void BM_WriteMovieOf100FullFrames(benchmark::State& state) {
    ScreenPictures screen;
    size_t bytes = 0;
    for (auto _ : state) {
        quib::SwfMovie movie;
        movie.setWidth(kWidth);
        movie.setHeight(kHeight);
        std::vector<std::unique_ptr<quib::BitmapObject>> objects;
        for (int f = 0; f < kFrames; ++f) {
            auto object = std::make_unique<quib::BitmapObject>(movie, 0, 0, kWidth - 1, kHeight - 1,
                                                               describe(screen.frame(f)));
            object->setLayer(95);
            if (!objects.empty())
                movie.frame(f).remove(*objects.back());
            movie.frame(f).place(*object);
            objects.push_back(std::move(object));
        }
        std::vector<uint8_t> out;
        if (!movie.write(out).ok())
            state.SkipWithError("write failed");
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["movie_bytes"] = double(bytes);
}
BENCHMARK(BM_WriteMovieOf100FullFrames)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same compress2 calls alone, into the same size of buffer.
void BM_Compress2Alone(benchmark::State& state) {
    ScreenPictures screen;
    std::vector<uint8_t> out;
    for (auto _ : state) {
        size_t total = 0;
        for (int f = 0; f < kFrames; ++f) {
            const std::vector<uint8_t>& in = screen.frame(f);
            uLongf room = uLongf(in.size() + in.size() / 100 + 12);
            out.resize(room);
            compress2(out.data(), &room, in.data(), uLong(in.size()), 9);
            total += room;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Compress2Alone)->Unit(benchmark::kMillisecond)->Iterations(2);

// Painting the pictures alone, to subtract from both figures.
void BM_PicturesAlone(benchmark::State& state) {
    ScreenPictures screen;
    for (auto _ : state)
        for (int f = 0; f < kFrames; ++f)
            benchmark::DoNotOptimize(screen.frame(f).data());
}
BENCHMARK(BM_PicturesAlone)->Unit(benchmark::kMillisecond)->Iterations(2);

// Placing 100 prebuilt full-frame bitmaps and writing the movie: the writer's own work.
void BM_EncodePrebuiltBitmaps(benchmark::State& state) {
    ScreenPictures screen;
    for (auto _ : state) {
        state.PauseTiming();
        quib::SwfMovie movie;
        movie.setWidth(kWidth);
        movie.setHeight(kHeight);
        std::vector<std::unique_ptr<quib::BitmapObject>> objects;
        for (int f = 0; f < kFrames; ++f)
            objects.push_back(std::make_unique<quib::BitmapObject>(movie, 0, 0, kWidth - 1, kHeight - 1,
                                                                   describe(screen.frame(f))));
        state.ResumeTiming();
        for (int f = 0; f < kFrames; ++f) {
            if (f > 0)
                movie.frame(f).remove(*objects[size_t(f) - 1]);
            movie.frame(f).place(*objects[size_t(f)]);
        }
        std::vector<uint8_t> out;
        if (!movie.write(out).ok())
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_EncodePrebuiltBitmaps)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// The html5 output of a full-HD screen recording against the movie of the same project and an
// animated lossless WebP of the same frames: size, write time, and the page's time to its first
// frame in a headless browser. QUIB_BENCH_FRAMES sets the number of frames (30 unless told; the
// figures in docs/performance.md use 300); QUIB_BENCH_FRAMES_DIR reuses frames made earlier by
// screen_frames.py (f_NNNN.png and frames.raw).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "export/project_output.h"
#include "headless_browser.h"
#include "model/quib_doc.h"
#include "raster/gui_application.h"
#include "recorded_frames.h"
#include "render/render_project.h"
#include "shapes/default_callouts.h"
#include "swf/swf_movie.h"

using namespace quib;
namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

int frameCount() {
    const char* text = std::getenv("QUIB_BENCH_FRAMES");
    return text ? std::max(1, std::atoi(text)) : 30;
}

const fs::path& workFolder() {
    static const bench::WorkFolder folder("html5-bench");
    return folder.path();
}

fs::path framesFolder() {
    static const fs::path folder = bench::recordedFrames(workFolder(), frameCount());
    return folder;
}

CQuibDoc* project() {
    static std::unique_ptr<CQuibDoc> doc = []() -> std::unique_ptr<CQuibDoc> {
        raster::ensureGuiApplication();
        std::ifstream raw(framesFolder() / "frames.raw", std::ios::binary);
        if (!raw)
            return nullptr;
        auto d = std::make_unique<CQuibDoc>();
        d->frameSize = d->backgroundSize = Size{kWidth, kHeight};
        d->InitNewProject();
        std::vector<char> row(size_t(kWidth) * 4);
        for (int f = 0; f < frameCount(); ++f) {
            d->currentImage = Bitmap24(kWidth, kHeight);
            for (int y = 0; y < kHeight; ++y) {
                if (!raw.read(row.data(), std::streamsize(row.size())))
                    return nullptr;
                uint8_t* out = d->currentImage.pixel(0, y);
                for (int x = 0; x < kWidth; ++x)
                    std::copy_n(row.data() + size_t(x) * 4, 3, out + size_t(x) * 3);
            }
            d->currentFrame = Frame();
            d->currentFrame.title = "Passo " + std::to_string(f + 1);
            if (!d->AppendCapturedFrame())
                return nullptr;
        }
        return d;
    }();
    return doc.get();
}

const CalloutLibrary& callouts() {
    static const CalloutLibrary library = defaultCalloutLibrary();
    return library;
}

void setCounters(benchmark::State& state, size_t bytes) {
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["frames/s"] =
        benchmark::Counter(double(frameCount()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Html5Output(benchmark::State& state) {
    CQuibDoc* doc = project();
    if (!doc) {
        state.SkipWithError("no frames (python3-pil and screen_frames.py are needed)");
        return;
    }
    OutputOptions options;
    options.callouts = &callouts();
    size_t bytes = 0;
    for (auto _ : state) {
        NullProgress progress;
        const ExportResult result =
            html5Output().write(*doc, (workFolder() / "movie.html").string(), options, progress);
        if (!result.status.ok()) {
            state.SkipWithError(result.status.message().c_str());
            return;
        }
        bytes = result.bytes;
    }
    setCounters(state, bytes);
}

void BM_SwfMovie(benchmark::State& state) {
    CQuibDoc* doc = project();
    if (!doc) {
        state.SkipWithError("no frames");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        SwfMovie movie;
        NullProgress progress;
        BuildProjectMovie(*doc, callouts(), progress, movie);
        std::vector<uint8_t> out;
        if (!movie.write(out)) {
            state.SkipWithError("movie not written");
            return;
        }
        bytes = out.size();
    }
    setCounters(state, bytes);
}

// The same frames as one animated lossless WebP made by the distribution's img2webp.
void BM_AnimatedWebp(benchmark::State& state) {
    if (!project()) {
        state.SkipWithError("no frames");
        return;
    }
    const fs::path out = workFolder() / "frames.webp";
    std::string command = "img2webp -lossless -d 125";
    for (int f = 0; f < frameCount(); ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "/f_%04d.png", f);
        command += " '" + framesFolder().string() + name + "'";
    }
    command += " -o '" + out.string() + "' > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("img2webp failed (package webp)");
            return;
        }
    setCounters(state, fs::file_size(out));
}

// From opening the page written above to its first frame on the canvas.
void BM_PageFirstFrame(benchmark::State& state) {
    const fs::path page = workFolder() / "movie.html";
    if (!fs::exists(page) || test::HeadlessBrowser::program().empty()) {
        state.SkipWithError("no page or no chromium");
        return;
    }
    for (auto _ : state) {
        test::HeadlessBrowser browser((workFolder() / "browser").string());
        if (!browser.open("file://" + page.string())) {
            state.SkipWithError("page not opened");
            return;
        }
        state.SetIterationTime(browser.evaluate("QuibPlayer.ready").toDouble() / 1000);
    }
}

}  // namespace

BENCHMARK(BM_Html5Output)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SwfMovie)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_AnimatedWebp)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_PageFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

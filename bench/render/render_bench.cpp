// The render of a full-HD screen recording into a movie, with and without a palette, against the
// same frames saved as PNG files. QUIB_BENCH_PROJECT names the recording (see screen_recording.h).

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <memory>

#include "model/frame_composition.h"
#include "palette/frame_palette.h"
#include "raster/gui_application.h"
#include "render/render_project.h"
#include "screen_recording.h"
#include "shapes/default_callouts.h"
#include "swf/swf_movie.h"

using namespace quib;

namespace {

constexpr int kHeight = bench::kRecordingHeight, kFrames = 300;

CQuibDoc& project() {
    static std::unique_ptr<CQuibDoc> doc = [] {
        raster::ensureGuiApplication();
        auto d = std::make_unique<CQuibDoc>();
        if (!bench::loadScreenRecording(*d, kFrames))
            std::abort();
        return d;
    }();
    return *doc;
}

const CalloutLibrary& callouts() {
    static const CalloutLibrary library = defaultCalloutLibrary();
    return library;
}

void renderMovie(benchmark::State& state, bool usePalette) {
    CQuibDoc& doc = project();
    doc.settings.usePalette = usePalette;
    if (usePalette && doc.settings.paletteCount == 0) {
        PaletteSource source;
        source.frameCount = doc.frameCount();
        source.frameHeight = kHeight;
        source.frameAt = [&doc](int index, Bitmap24& picture) {
            if (!doc.SelectFrame(index))
                return false;
            picture = doc.currentImage;
            return true;
        };
        NullProgress progress;
        const auto palette = BuildPaletteFromFrames(source, 256, progress);
        if (!palette) {
            state.SkipWithError("no palette");
            return;
        }
        for (size_t i = 0; i < palette->size(); ++i)
            doc.settings.palette[i] = (*palette)[i];
        doc.settings.paletteCount = int(palette->size());
    }
    size_t bytes = 0;
    RenderStats stats;
    const double cpuBefore = bench::processCpuSeconds();
    for (auto _ : state) {
        SwfMovie movie;
        NullProgress progress;
        stats = BuildProjectMovie(doc, callouts(), progress, movie);
        std::vector<uint8_t> out;
        if (!movie.write(out)) {
            state.SkipWithError("movie not written");
            return;
        }
        bytes = out.size();
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["process_cpu_s"] = bench::processCpuSeconds() - cpuBefore;
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["full"] = stats.fullFrames;
    state.counters["patches"] = stats.imagePatches;
    state.counters["swfFrames"] = stats.swfFrames;
}

void BM_RenderMovie32(benchmark::State& state) {
    renderMovie(state, false);
}

void BM_RenderMoviePalette(benchmark::State& state) {
    renderMovie(state, true);
}

// The frames composed with all their elements and saved as PNG files, for comparison of size.
void BM_FramesAsPng(benchmark::State& state) {
    CQuibDoc& doc = project();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int i = 0; i < doc.frameCount(); ++i) {
            doc.SelectFrame(i);
            Bitmap24 picture = ComposeFramePicture(doc, callouts());
            QImage image(picture.pixels.data(), picture.width, picture.height, int(picture.stride()),
                         QImage::Format_BGR888);
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            bytes += size_t(buffer.size());
        }
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = double(bytes) / 1e6;
}

// The peer: the same frames (PNG files) as a Flash screen video by ffmpeg's flashsv2 encoder.
void BM_FfmpegFlashsv2(benchmark::State& state) {
    const std::filesystem::path frames = bench::recordingPngFolder(kFrames);
    const std::string out = "/tmp/quib-render-bench-peer.flv";
    double cpu = 0;
    for (auto _ : state) {
        cpu = bench::peerCpuSeconds("ffmpeg -v error -y -framerate 10 -i '" + frames.string() +
                                    "/f_%04d.png' -frames:v " + std::to_string(kFrames) + " -c:v flashsv2 " +
                                    out);
        if (cpu < 0) {
            state.SkipWithError("ffmpeg failed (package ffmpeg, QUIB_BENCH_FRAMES_DIR)");
            return;
        }
    }
    state.counters["process_cpu_s"] = cpu;
    state.counters["MB"] = double(std::filesystem::file_size(out)) / 1e6;
    std::filesystem::remove(out);
}

}  // namespace

BENCHMARK(BM_RenderMovie32)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RenderMoviePalette)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FramesAsPng)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FfmpegFlashsv2)->Iterations(1)->Unit(benchmark::kSecond);

// The PDF and HTML exports of a full-HD screen recording (see screen_recording.h), each beside the
// tool people would use instead on the same frames: img2pdf on the PNG files, and ffmpeg writing
// them as PNG files. The argument is the number of frames. process_cpu_s counts every thread of
// ours, or the peer program; peak_MB is how far resident memory rose above the open project (run
// one PDF benchmark per process for it: memory freed by an earlier one stays resident).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "export/html_export.h"
#include "export/pdf_export.h"
#include "imagefilters/filter_table.h"
#include "raster/gui_application.h"
#include "screen_recording.h"
#include "shapes/default_callouts.h"

using namespace quib;
namespace fs = std::filesystem;

namespace {

constexpr int kMostFrames = 300;

CQuibDoc& recording() {
    static std::unique_ptr<CQuibDoc> doc = [] {
        raster::ensureGuiApplication();
        auto d = std::make_unique<CQuibDoc>();
        if (!bench::loadScreenRecording(*d, kMostFrames))
            std::abort();
        return d;
    }();
    return *doc;
}

// The first frames of the recording, made once per count; past its end it starts again.
CQuibDoc& project(int frames) {
    if (frames == kMostFrames)
        return recording();
    static std::map<int, std::unique_ptr<CQuibDoc>> made;
    std::unique_ptr<CQuibDoc>& doc = made[frames];
    if (!doc) {
        doc = std::make_unique<CQuibDoc>();
        CQuibDoc& all = recording();
        doc->frameSize = all.frameSize;
        doc->backgroundSize = all.backgroundSize;
        doc->InitNewProject();
        for (int i = 0; i < frames; ++i) {
            all.SelectFrame(i % kMostFrames);
            doc->currentImage = all.currentImage;
            doc->currentFrame = all.currentFrame;
            doc->AppendCapturedFrame();
        }
    }
    return *doc;
}

const CalloutLibrary& callouts() {
    static const CalloutLibrary library = defaultCalloutLibrary();
    return library;
}

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return 0;
}

// Starts the peak of resident memory again from what is resident now.
long resetPeakKb() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusKb("VmRSS:");
}

fs::path outFolder() {
    const fs::path folder = fs::temp_directory_path() / "quib-export-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

size_t folderBytes(const fs::path& folder) {
    size_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        bytes += entry.is_regular_file() ? entry.file_size() : 0;
    return bytes;
}

std::string pngList(int frames) {
    std::string list;
    const fs::path folder = bench::recordingPngFolder(kMostFrames);
    for (int f = 0; f < frames; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "/f_%04d.png", f % kMostFrames);
        list += " '" + folder.string() + name + "'";
    }
    return list;
}

void BM_PdfExport(benchmark::State& state) {
    CQuibDoc& doc = project(int(state.range(0)));
    const fs::path out = outFolder() / "tour.pdf";
    const long before = resetPeakKb();
    const double cpu = bench::processCpuSeconds();
    for (auto _ : state) {
        NullProgress progress;
        if (!ExportPdf(doc, callouts(), out.string(), progress).status.ok()) {
            state.SkipWithError("export failed");
            return;
        }
    }
    state.counters["process_cpu_s"] = bench::processCpuSeconds() - cpu;
    state.counters["peak_MB"] = double(statusKb("VmHWM:") - before) / 1024;
    state.counters["MB"] = double(fs::file_size(out)) / 1e6;
}

void BM_Img2pdf(benchmark::State& state) {
    const fs::path out = outFolder() / "peer.pdf";
    double cpu = 0;
    for (auto _ : state)
        cpu = bench::peerCpuSeconds("img2pdf" + pngList(int(state.range(0))) + " -o '" + out.string() + "'");
    if (cpu < 0) {
        state.SkipWithError("img2pdf failed (package img2pdf, QUIB_BENCH_FRAMES_DIR)");
        return;
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["process_cpu_s"] = cpu;
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
    state.counters["MB"] = double(fs::file_size(out)) / 1e6;
}

void BM_HtmlExport(benchmark::State& state) {
    CQuibDoc& doc = project(int(state.range(0)));
    static FilterTable filters;
    if (filters.size() == 0)
        filters.loadFilters(QUIB_SHIPPED_FILTERS_DIR, DefaultFilterTools(), 1, true);
    int png = -1;
    for (int i = 0; i < filters.size(); ++i)
        if (ExtensionListHas(filters.entry(i).caps->extensions, "png"))
            png = i;
    const fs::path folder = outFolder();
    const double cpu = bench::processCpuSeconds();
    for (auto _ : state) {
        NullProgress progress;
        if (png < 0 || !ExportHtml(doc, callouts(), (folder / "tour.htm").string(), filters, png, progress)
                            .status.ok()) {
            state.SkipWithError("export failed (PNG plug-in)");
            return;
        }
    }
    state.counters["process_cpu_s"] = bench::processCpuSeconds() - cpu;
    state.counters["MB"] = double(folderBytes(folder)) / 1e6;
}

void BM_FfmpegPng(benchmark::State& state) {
    const fs::path folder = outFolder();
    const std::string frames = bench::recordingPngFolder(kMostFrames).string();
    double cpu = 0;
    for (auto _ : state)
        cpu = bench::peerCpuSeconds("ffmpeg -v error -y -i '" + frames + "/f_%04d.png' -frames:v " +
                                    std::to_string(state.range(0)) + " '" + folder.string() + "/f_%04d.png'");
    if (cpu < 0) {
        state.SkipWithError("ffmpeg failed (package ffmpeg, QUIB_BENCH_FRAMES_DIR)");
        return;
    }
    state.counters["process_cpu_s"] = cpu;
    state.counters["MB"] = double(folderBytes(folder)) / 1e6;
}

}  // namespace

BENCHMARK(BM_PdfExport)->Arg(150)->Arg(300)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_Img2pdf)->Arg(150)->Arg(300)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_HtmlExport)->Arg(150)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FfmpegPng)->Arg(150)->Iterations(1)->Unit(benchmark::kSecond);

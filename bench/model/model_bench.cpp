// Project model and project file on a long project: 300 frames of 1920 x 1080. Set
// QUIB_BENCH_PROJECT to a project of real screen recordings (made with `quib-cli import-images`
// from screen_frames.py pictures); without it a synthetic project stands in. Opening and saving
// are timed beside `cat` and `cp` of the same file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "base/progress.h"
#include "model/project_file.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"

namespace {

using namespace quib;

constexpr int kFrames = 300;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

CQuibDoc& project() {
    static std::unique_ptr<CQuibDoc> doc = [] {
        auto d = std::make_unique<CQuibDoc>();
        NullProgress progress;
        if (const char* path = std::getenv("QUIB_BENCH_PROJECT"); path && *path)
            (void)LoadProject(path, *d, progress);
        else
            buildSyntheticProject(*d, kWidth, kHeight, kFrames);
        return d;
    }();
    return *doc;
}

// The project as a file on disk, written once by a normal save.
const std::string& projectPath() {
    static const std::string path = [] {
        std::string p = "/tmp/quib-model-bench-" + std::to_string(::getpid()) + ".qbk";
        NullProgress progress;
        (void)SaveProject(p, project(), progress);
        std::atexit([] { std::remove(projectPath().c_str()); });
        return p;
    }();
    return path;
}

// Runs a command through the shell and adds the CPU time it took to the "cpu_s" counter.
void runPeer(benchmark::State& state, const std::string& command) {
    double cpu = 0;
    for (auto _ : state) {
        rusage before{}, after{};
        ::getrusage(RUSAGE_CHILDREN, &before);
        if (std::system(command.c_str()) != 0)
            state.SkipWithError(("failed: " + command).c_str());
        ::getrusage(RUSAGE_CHILDREN, &after);
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        cpu += seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
               seconds(before.ru_stime);
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

const std::vector<uint8_t>& fileBytes(bool compressed) {
    static std::vector<uint8_t> normal, packed;
    std::vector<uint8_t>& bytes = compressed ? packed : normal;
    if (bytes.empty()) {
        NullProgress progress;
        project().compressedSave = compressed;
        bytes = ProjectFile::store(project(), "", progress);
        project().compressedSave = false;
    }
    return bytes;
}

void BM_BuildProjectResidentMemory(benchmark::State& state) {
    const long before = residentKiB();
    for (auto _ : state)
        benchmark::DoNotOptimize(project().frameCount());
    size_t streams = 0;
    for (const Frame& f : project().frames)
        streams += f.imageData.size();
    state.counters["rssKiB"] = double(residentKiB());
    state.counters["rssBeforeKiB"] = double(before);
    state.counters["streamsKiB"] = double(streams / 1024);
}
BENCHMARK(BM_BuildProjectResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SaveNormal(benchmark::State& state) {
    (void)project();
    NullProgress progress;
    size_t size = 0;
    for (auto _ : state)
        size = ProjectFile::store(project(), "", progress).size();
    state.counters["fileKiB"] = double(size / 1024);
}
BENCHMARK(BM_SaveNormal)->Unit(benchmark::kMillisecond);

void BM_SaveNormalToDisk(benchmark::State& state) {
    (void)project();
    NullProgress progress;
    const std::string path = "/tmp/quib-model-bench.qbk";
    for (auto _ : state) {
        if (!SaveProject(path, project(), progress))
            state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveNormalToDisk)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_OpenFromDisk(benchmark::State& state) {
    const std::string& path = projectPath();
    NullProgress progress;
    for (auto _ : state) {
        CQuibDoc doc;
        if (!LoadProject(path, doc, progress))
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenFromDisk)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_PeerCat(benchmark::State& state) {
    runPeer(state, "cat " + projectPath() + " > /dev/null");
}
BENCHMARK(BM_PeerCat)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PeerCp(benchmark::State& state) {
    runPeer(state, "cp " + projectPath() + " /tmp/quib-model-bench-cp.qbk");
    std::remove("/tmp/quib-model-bench-cp.qbk");
}
BENCHMARK(BM_PeerCp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadNormal(benchmark::State& state) {
    const auto& bytes = fileBytes(false);
    NullProgress progress;
    for (auto _ : state) {
        CQuibDoc doc;
        if (!ProjectFile::load(bytes, doc, "", progress))
            state.SkipWithError("load failed");
    }
    state.counters["rssKiB"] = double(residentKiB());
}
BENCHMARK(BM_LoadNormal)->Unit(benchmark::kMillisecond);

void BM_SaveCompressed(benchmark::State& state) {
    (void)project();
    NullProgress progress;
    size_t size = 0;
    for (auto _ : state) {
        project().compressedSave = true;
        size = ProjectFile::store(project(), "", progress).size();
        project().compressedSave = false;
    }
    state.counters["fileKiB"] = double(size / 1024);
}
BENCHMARK(BM_SaveCompressed)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadCompressed(benchmark::State& state) {
    const auto& bytes = fileBytes(true);
    NullProgress progress;
    for (auto _ : state) {
        CQuibDoc doc;
        if (!ProjectFile::load(bytes, doc, "", progress))
            state.SkipWithError("load failed");
    }
    state.counters["rssKiB"] = double(residentKiB());
}
BENCHMARK(BM_LoadCompressed)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SelectFrame(benchmark::State& state) {
    CQuibDoc& doc = project();
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % doc.frameCount();
        doc.SelectFrame(index, false);
    }
}
BENCHMARK(BM_SelectFrame)->Unit(benchmark::kMillisecond);

}  // namespace

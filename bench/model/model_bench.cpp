// Project model and project file on a long project: 300 screen-like frames of 1920 x 1080.
#include <benchmark/benchmark.h>

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
        buildSyntheticProject(*d, kWidth, kHeight, kFrames);
        return d;
    }();
    return *doc;
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
BENCHMARK(BM_SaveNormalToDisk)->Unit(benchmark::kMillisecond);

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

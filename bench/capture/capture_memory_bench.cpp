// Memory of a long timed capture at 10 frames a second on real screen recordings: the grabber
// serves the pictures of screen_frames.py (made once, or taken from QUIB_BENCH_FRAMES_DIR, which
// holds frames.raw) round and round, and the session captures as the application does. The first
// argument is the number of frames (6000: ten minutes), the second whether the memory budget is
// on; resident memory is read along the way, after saving and at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/progress.h"
#include "capture/capture_session.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"
#include "recorded_frames.h"

namespace fs = std::filesystem;
using namespace quib;

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kCycle = 150;
constexpr size_t kRawFrameBytes = size_t(kWidth) * kHeight * 4;

const fs::path& workFolder() {
    static const bench::WorkFolder folder("capture-memory");
    return folder.path();
}

fs::path rawFrames() {
    static const fs::path folder = bench::recordedFrames(workFolder(), kCycle);
    return folder.empty() ? folder : folder / "frames.raw";
}

// The recorded screen, one picture per grab, read from the raw file as the X server would hand it.
class RecordedScreen : public ScreenGrabber {
public:
    explicit RecordedScreen(const fs::path& raw) : m_fd(::open(raw.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (m_fd >= 0)
            m_frames = int(std::min<uint64_t>(kCycle, fs::file_size(raw) / kRawFrameBytes));
    }
    ~RecordedScreen() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_frames > 0; }
    Status grab(const Rect& region, Bitmap24& out) override {
        if (out.width != region.width() || out.height != region.height())
            out = Bitmap24(region.width(), region.height());
        const off_t at = off_t(m_next++ % m_frames) * off_t(kRawFrameBytes);
        if (::pread(m_fd, m_row.data(), m_row.size(), at) != ssize_t(m_row.size()))
            return Status::failureText("frames unreadable");
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* in = m_row.data() + size_t(y) * kWidth * 4;
            uint8_t* row = out.pixel(0, y);
            for (int x = 0; x < kWidth; ++x)
                std::copy_n(in + size_t(x) * 4, 3, row + size_t(x) * 3);
        }
        return Status::success();
    }
    ScreenCursor grabCursor() override {
        ScreenCursor cursor;
        cursor.picture.image = Bitmap32(16, 16);
        cursor.screenPos = Point{int(m_next % 1900), 500};
        return cursor;
    }
    Size screenSize() override { return Size{kWidth, kHeight}; }
    WindowAtPoint windowAt(Point) override { return {}; }

private:
    int m_fd;
    int m_frames = 0;
    int m_next = 0;
    std::vector<uint8_t> m_row = std::vector<uint8_t>(kRawFrameBytes);
};

struct Resident {
    double totalMB = 0, anonMB = 0, fileMB = 0;
};

Resident resident() {
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string line;
    auto field = [&line](const char* name) { return std::stod(line.substr(std::strlen(name))) / 1024; };
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            r.totalMB = field("VmRSS:");
        else if (line.rfind("RssAnon:", 0) == 0)
            r.anonMB = field("RssAnon:");
        else if (line.rfind("RssFile:", 0) == 0)
            r.fileMB = field("RssFile:");
    }
    return r;
}

void TimedCaptureMemory(benchmark::State& state) {
    const int frames = int(state.range(0));
    const bool budget = state.range(1) != 0;
    RecordedScreen screen(rawFrames());
    if (!screen.ok()) {
        state.SkipWithError("no recorded frames (python3-pil?)");
        return;
    }
    double peakMB = 0, msPerFrame = 0;
    Resident afterCapture, afterSave;
    for (auto _ : state) {
        CQuibDoc doc;
        const Rect region{0, 0, kWidth, kHeight};
        prepareCaptureProject(doc, region);
        CaptureSession session(screen, doc, region, 10);
        session.setMemoryBudget(budget ? CaptureMemoryBudget::kDefaultBudgetBytes : SIZE_MAX,
                                (workFolder() / "cache").string());
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < frames; ++i) {
            if (!session.captureOnce(100)) {
                state.SkipWithError("capture failed");
                return;
            }
            if (i % 100 == 0)
                peakMB = std::max(peakMB, resident().totalMB);
        }
        msPerFrame =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
            frames;
        afterCapture = resident();
        NullProgress progress;
        const fs::path file = workFolder() / "capture.qbk";
        if (!SaveProject(file.string(), doc, progress))
            state.SkipWithError("save failed");
        afterSave = resident();
        state.counters["file_MB"] = double(fs::file_size(file)) / 1e6;
        fs::remove(file);
    }
    state.counters["peak_rss_MB"] = std::max(peakMB, afterSave.totalMB);
    state.counters["rss_MB"] = afterCapture.totalMB;
    state.counters["anon_MB"] = afterCapture.anonMB;
    state.counters["saved_rss_MB"] = afterSave.totalMB;
    state.counters["saved_anon_MB"] = afterSave.anonMB;
    state.counters["ms_per_frame"] = msPerFrame;
}
BENCHMARK(TimedCaptureMemory)
    ->Args({600, 0})
    ->Args({6000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime();

}  // namespace

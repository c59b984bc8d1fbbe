// Capture through the desktop portal: the test portal on a private bus and PipeWire daemon sends a
// 1920 x 1080 stream at 10 pictures a second. Figures: one grab of the whole picture with the
// cursor, and the CPU our process spends per received picture (the receiving thread's copy).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <thread>

#include "capture/portal_screen_grabber.h"
#include "portal/portal_test_desktop.h"

using namespace quib;

namespace {

constexpr Rect kFullHd{0, 0, 1920, 1080};

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct PortalSession {
    PortalSession() {
        problem = desktop.start();
        if (problem.empty())
            problem = desktop.startPortal({"--size", "1920x1080", "--fps", "10"});
        if (problem.empty()) {
            Status status;
            grabber = PortalScreenGrabber::open(desktop.bus(), {}, status);
            if (!grabber)
                problem = status.message();
        }
    }
    testing::PortalTestDesktop desktop;
    std::string problem;
    std::unique_ptr<PortalScreenGrabber> grabber;
};

void BM_PortalGrabWithCursor(benchmark::State& state) {
    PortalSession session;
    if (!session.problem.empty()) {
        state.SkipWithError(session.problem.c_str());
        return;
    }
    Bitmap24 out;
    for (auto _ : state) {
        if (!session.grabber->grab(kFullHd, out).ok()) {
            state.SkipWithError("grab failed");
            return;
        }
        benchmark::DoNotOptimize(session.grabber->grabCursor());
    }
}
BENCHMARK(BM_PortalGrabWithCursor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PortalReceiveAt10PerSecond(benchmark::State& state) {
    PortalSession session;
    if (!session.problem.empty()) {
        state.SkipWithError(session.problem.c_str());
        return;
    }
    Bitmap24 out;
    if (!session.grabber->grab(kFullHd, out).ok()) {
        state.SkipWithError("no picture");
        return;
    }
    for (auto _ : state) {
        const uint64_t framesBefore = session.grabber->stream().frameCount();
        const double cpuBefore = processCpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const uint64_t frames = session.grabber->stream().frameCount() - framesBefore;
        const double cpu = processCpuSeconds() - cpuBefore;
        state.counters["frames"] = double(frames);
        state.counters["cpu_ms_per_frame"] = frames ? cpu * 1000.0 / double(frames) : 0.0;
    }
}
BENCHMARK(BM_PortalReceiveAt10PerSecond)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

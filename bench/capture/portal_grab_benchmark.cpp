// Capture through the desktop portal: the test portal on a private bus and PipeWire daemon sends a
// 1920 x 1080 stream at 10 pictures a second. Figures: one grab of the whole picture with the
// cursor, the CPU our process spends per received picture (the receiving thread's copy), and the
// time from a global shortcut's Activated signal to the frame stored in the project.

#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <algorithm>
#include <chrono>
#include <thread>

#include "capture/capture_backend.h"
#include "capture/capture_frame.h"
#include "capture/capture_session.h"
#include "capture/portal_screen_grabber.h"
#include "model/quib_doc.h"
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

// The test portal sends Activated when asked; the clock starts as the request leaves, so the
// figure also holds one hop over the bus to the portal.
void BM_PortalShortcutToStoredFrame(benchmark::State& state) {
    testing::PortalTestDesktop desktop;
    std::string problem = desktop.start();
    if (problem.empty())
        problem = desktop.startPortal({"--size", "1920x1080", "--fps", "10"});
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    CaptureBackendChoice choice;
    choice.portal = true;
    choice.busAddress = desktop.busAddress().c_str();
    CaptureBackends backends = openCaptureBackends(choice);
    if (!backends.problem.empty()) {
        state.SkipWithError(backends.problem.c_str());
        return;
    }
    CQuibDoc doc;
    prepareCaptureProject(doc, kFullHd);
    CaptureSession session(*backends.grabber, doc, kFullHd, 10);
    std::chrono::steady_clock::time_point heard;
    if (!backends.hotKey->start([&](HotKeyAction a) {
            heard = std::chrono::steady_clock::now();
            session.handleHotKey(a);
        })) {
        state.SkipWithError("the shortcuts did not start");
        return;
    }
    QDBusMessage press = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.quib.PortalTest"), QStringLiteral("Activate"));
    press.setArguments({QStringLiteral("capture-frame")});
    double worst = 0, heardTotal = 0, heardWorst = 0;
    for (auto _ : state) {
        const int before = session.counter();
        const auto start = std::chrono::steady_clock::now();
        desktop.bus().send(press);
        const auto deadline = start + std::chrono::seconds(5);
        while (session.counter() == before && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            pollfd p{backends.hotKey->fileDescriptor(), POLLIN, 0};
            if (poll(&p, 1, 0) > 0)
                backends.hotKey->processEvents();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (session.counter() == before) {
            state.SkipWithError("no frame stored");
            return;
        }
        worst = std::max(worst, seconds);
        const double toKey = std::chrono::duration<double>(heard - start).count();
        heardTotal += toKey;
        heardWorst = std::max(heardWorst, toKey);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000.0;
    // To the capture callback, where the X11 figure stops: the start of the grab.
    state.counters["to_grab_ms"] = heardTotal * 1000.0 / double(state.iterations());
    state.counters["to_grab_worst_ms"] = heardWorst * 1000.0;
}
BENCHMARK(BM_PortalShortcutToStoredFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

}  // namespace

// One full-HD grab with the cursor, against a private 1920x1080x24 Xvfb, next to a plain
// "xwd -root" of the same screen. All figures are wall-clock: the X server does its share of
// the work in another process.

#include <benchmark/benchmark.h>
#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/zlib_util.h"
#include "capture/capture_session.h"
#include "capture/click_capture.h"
#include "capture/cursor_rules.h"
#include "capture/x11_global_hot_key.h"
#include "capture/x11_screen_grabber.h"
#include "model/quib_doc.h"
#include "xvfb_server.h"
#ifdef QUIB_BENCH_XTEST
#include "xtest_keys.h"
#endif

using namespace quib;

namespace {

constexpr Rect kFullHd{0, 0, 1920, 1080};

// Something like a desktop, so that the compression has realistic work: flat panels in a few
// colours with lines of small dark marks standing for text.
uint32_t desktopPixel(int x, int y) {
    const uint32_t panel = ((x / 480) + (y / 270) * 4) % 5;
    static const uint32_t colours[5] = {0xF0F0F0, 0xFFFFFF, 0x3A6EA5, 0xD4D0C8, 0x202020};
    const bool textLine = (y % 18) >= 4 && (y % 18) < 14 && (x % 400) < 340;
    uint32_t seed = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
    seed ^= seed >> 13;
    if (textLine && (seed & 3) == 0)
        return 0x101010 + (seed >> 24);
    return colours[panel];
}

void paintDesktop(const std::string& display) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, screen->root, 0, nullptr);
    constexpr int kBand = 16;  // rows per request, well inside the core request size
    std::vector<uint32_t> rows(size_t(kFullHd.width()) * kBand);
    for (int top = 0; top < kFullHd.height(); top += kBand) {
        for (int y = 0; y < kBand; ++y)
            for (int x = 0; x < kFullHd.width(); ++x)
                rows[size_t(y) * kFullHd.width() + x] = desktopPixel(x, top + y);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, gc, uint16_t(kFullHd.width()),
                      kBand, 0, int16_t(top), 0, screen->root_depth, uint32_t(rows.size() * 4),
                      reinterpret_cast<const uint8_t*>(rows.data()));
    }
    xcb_free_gc(connection, gc);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
}

testing::XvfbServer& server() {
    static testing::XvfbServer instance("1920x1080x24");
    static const bool painted = (instance.running() ? paintDesktop(instance.display()) : void(), true);
    (void)painted;
    return instance;
}

std::unique_ptr<X11ScreenGrabber> openGrabber(benchmark::State& state) {
    if (!server().running()) {
        state.SkipWithError("Xvfb is not available");
        return nullptr;
    }
    Status status;
    auto grabber = X11ScreenGrabber::open(server().display().c_str(), status);
    if (!grabber || !status.ok())
        state.SkipWithError("cannot open the Xvfb display");
    return grabber;
}

void grabWithCursor(benchmark::State& state, bool sharedMemory) {
    auto grabber = openGrabber(state);
    if (!grabber)
        return;
    if (!sharedMemory)
        grabber->disableSharedMemory();
    Bitmap24 frame;
    for (auto _ : state) {
        if (!grabber->grab(kFullHd, frame).ok()) {
            state.SkipWithError("grab failed");
            break;
        }
        ScreenCursor cursor = grabber->grabCursor();
        benchmark::DoNotOptimize(cursorPosInRegion(cursor.screenPos, cursor.picture.hotSpot, kFullHd));
        benchmark::DoNotOptimize(frame.pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(frame.pixels.size()));
}

void BM_GrabFullHdWithCursor_SharedMemory(benchmark::State& state) {
    grabWithCursor(state, true);
}

void BM_GrabFullHdWithCursor_PlainGetImage(benchmark::State& state) {
    grabWithCursor(state, false);
}

// What every captured frame costs on top of the grab: the level-1 compression of the frame.
void BM_GrabFullHdWithCursorAndCompress(benchmark::State& state) {
    auto grabber = openGrabber(state);
    if (!grabber)
        return;
    Bitmap24 frame;
    const size_t bound = pictureStreamBound(kFullHd.width(), kFullHd.height());
    for (auto _ : state) {
        if (!grabber->grab(kFullHd, frame).ok()) {
            state.SkipWithError("grab failed");
            break;
        }
        benchmark::DoNotOptimize(grabber->grabCursor());
        auto compressed = zlibCompress(frame.pixels.data(), frame.pixels.size(), 1, bound);
        benchmark::DoNotOptimize(compressed);
    }
}

void BM_XwdRootFullHd(benchmark::State& state) {
    if (!server().running()) {
        state.SkipWithError("Xvfb is not available");
        return;
    }
    const std::string command = "xwd -root -silent -display " + server().display() + " > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("xwd failed or is not installed");
            break;
        }
    }
}

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Serves the hot key's events until done holds.
template <typename Done>
void serveKeysUntil(X11GlobalHotKey& keys, Done done) {
    while (!done()) {
        pollfd p{keys.fileDescriptor(), POLLIN, 0};
        poll(&p, 1, 1000);
        keys.processEvents();
    }
}

// Keeps memory flat over long runs: only the cost per frame matters here.
void dropFramesPastFifty(CQuibDoc& doc) {
    if (doc.frameCount() >= 50) {
        doc.frames.clear();
        doc.currentFrameIndex = -1;
    }
}

#ifdef QUIB_BENCH_XTEST
// The grabber, the hot key and the XTEST input that the latency benchmarks drive.
struct DrivenDisplay {
    std::unique_ptr<X11ScreenGrabber> grabber;
    std::unique_ptr<X11GlobalHotKey> keys;
    std::unique_ptr<XTestKeys> input;

    bool open(benchmark::State& state) {
        grabber = openGrabber(state);
        if (!grabber)
            return false;
        Status status;
        keys = X11GlobalHotKey::open(server().display().c_str(), status);
        input = std::make_unique<XTestKeys>(server().display());
        if (!keys || !input->connected()) {
            state.SkipWithError("cannot open the Xvfb display");
            return false;
        }
        return true;
    }
    static void prepare(CQuibDoc& doc) {
        doc.InitNewProject();
        prepareCaptureProject(doc, kFullHd);
    }
};

// From the press of Pause (sent through XTEST) to the frame in the project: how long until the
// grab starts, and what the whole captured frame costs (grab, cursor, compression, append).
void BM_HotKeyPauseToCapturedFrame(benchmark::State& state) {
    DrivenDisplay driven;
    if (!driven.open(state))
        return;
    auto& [grabber, keys, input] = driven;
    constexpr unsigned long kPause = 0xFF13;
    CQuibDoc doc;
    driven.prepare(doc);
    CaptureSession session(*grabber, doc, kFullHd, 1);
    Clock::time_point grabStart, grabEnd;
    if (!keys->start([&](HotKeyAction) {
                 grabStart = Clock::now();
                 session.captureOnce();
                 grabEnd = Clock::now();
             })
             .ok()) {
        state.SkipWithError("Pause is taken");
        return;
    }
    double toGrab = 0, frameCost = 0, worstToGrab = 0;
    for (auto _ : state) {
        const int before = session.counter();
        const Clock::time_point pressed = Clock::now();
        input->tap(kPause);
        serveKeysUntil(*keys, [&] { return session.counter() != before; });
        toGrab += msBetween(pressed, grabStart);
        worstToGrab = std::max(worstToGrab, msBetween(pressed, grabStart));
        frameCost += msBetween(grabStart, grabEnd);
        dropFramesPastFifty(doc);
    }
    const double n = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["key_to_grab_ms"] = toGrab / n;
    state.counters["key_to_grab_worst_ms"] = worstToGrab;
    state.counters["frame_cost_ms"] = frameCost / n;
    keys->stop();
}

// Capture on click: one sample of the ring, and from the click (sent through XTEST) to the frame
// in the project, stored from the sample taken before it.
void BM_ClickToCapturedFrame(benchmark::State& state) {
    DrivenDisplay driven;
    if (!driven.open(state))
        return;
    auto& [grabber, keys, input] = driven;
    CQuibDoc doc;
    driven.prepare(doc);
    ClickCapture clicks(*grabber, doc, kFullHd);
    Clock::time_point heard, stored;
    if (!keys->start([](HotKeyAction) {}).ok() || !keys->watchClicks([&](Point at) {
            heard = Clock::now();
            bool done = false;
            // A failed store leaves the counter as it was, and the loop below waits on.
            static_cast<void>(clicks.click(at, heard, done));
            stored = Clock::now();
        })) {
        state.SkipWithError("clicks cannot be heard");
        return;
    }
    double sampleCost = 0, toHeard = 0, worstToHeard = 0, frameCost = 0;
    for (auto _ : state) {
        const Clock::time_point sampleStart = Clock::now();
        if (!clicks.sample().ok()) {
            state.SkipWithError("the region cannot be sampled");
            break;
        }
        sampleCost += msBetween(sampleStart, Clock::now());
        const int before = clicks.counter();
        const Clock::time_point pressed = Clock::now();
        input->click(960, 540, 1);
        serveKeysUntil(*keys, [&] { return clicks.counter() != before; });
        toHeard += msBetween(pressed, heard);
        worstToHeard = std::max(worstToHeard, msBetween(pressed, heard));
        frameCost += msBetween(heard, stored);
        dropFramesPastFifty(doc);
    }
    const double n = double(std::max<int64_t>(state.iterations(), 1));
    state.counters["sample_ms"] = sampleCost / n;
    state.counters["click_to_store_ms"] = toHeard / n;
    state.counters["click_to_store_worst_ms"] = worstToHeard;
    state.counters["frame_cost_ms"] = frameCost / n;
    keys->watchClicks(nullptr);
    keys->stop();
}
#endif

// Timed capture at 10 frames a second for 30 seconds on the full-HD screen, on the schedule the
// command line keeps: frames captured against ticks due, how late a grab started at worst, and
// what a frame costs.
void BM_TimedCapture10PerSecondFor30s(benchmark::State& state) {
    auto grabber = openGrabber(state);
    if (!grabber)
        return;
    constexpr int kIntervalMs = 100;
    constexpr int kSeconds = 30;
    double frames = 0, late = 0, worstLate = 0, cost = 0;
    for (auto _ : state) {
        CQuibDoc doc;
        doc.InitNewProject();
        prepareCaptureProject(doc, kFullHd);
        CaptureSession session(*grabber, doc, kFullHd, 10);
        session.toggleTimedCapture();
        const Clock::time_point start = Clock::now();
        for (int tick = 0; tick < kSeconds * 1000 / kIntervalMs; ++tick) {
            const Clock::time_point due = start + std::chrono::milliseconds(tick * kIntervalMs);
            std::this_thread::sleep_until(due);
            const Clock::time_point began = Clock::now();
            if (session.tick())
                frames += 1;
            cost += msBetween(began, Clock::now());
            late += msBetween(due, began);
            worstLate = std::max(worstLate, msBetween(due, began));
        }
        state.counters["elapsed_s"] = msBetween(start, Clock::now()) / 1000;
    }
    const double ticks = double(kSeconds * 1000 / kIntervalMs) * double(state.iterations());
    state.counters["ticks"] = ticks;
    state.counters["frames"] = frames;
    state.counters["frame_cost_ms"] = cost / ticks;
    state.counters["start_late_ms"] = late / ticks;
    state.counters["start_late_worst_ms"] = worstLate;
}

}  // namespace

#ifdef QUIB_BENCH_XTEST
BENCHMARK(BM_HotKeyPauseToCapturedFrame)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_ClickToCapturedFrame)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(100);
#endif
BENCHMARK(BM_TimedCapture10PerSecondFor30s)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_GrabFullHdWithCursor_SharedMemory)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabFullHdWithCursor_PlainGetImage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabFullHdWithCursorAndCompress)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XwdRootFullHd)->UseRealTime()->Unit(benchmark::kMillisecond);

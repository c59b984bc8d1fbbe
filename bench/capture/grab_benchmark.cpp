// One full-HD grab with the cursor, against a private 1920x1080x24 Xvfb, next to a plain
// "xwd -root" of the same screen. All figures are wall-clock: the X server does its share of
// the work in another process.

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/zlib_util.h"
#include "capture/cursor_rules.h"
#include "capture/x11_screen_grabber.h"
#include "xvfb_server.h"

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

}  // namespace

BENCHMARK(BM_GrabFullHdWithCursor_SharedMemory)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabFullHdWithCursor_PlainGetImage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabFullHdWithCursorAndCompress)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XwdRootFullHd)->UseRealTime()->Unit(benchmark::kMillisecond);

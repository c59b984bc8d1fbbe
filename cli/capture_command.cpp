#include <poll.h>

#include <charconv>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/progress.h"
#include "capture/capture_backend.h"
#include "capture/capture_session.h"
#include "capture/click_capture.h"
#include "cli_command.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"

namespace quib::cli {

namespace {

int runCapture(const std::vector<std::string>& args);

const Command kCapture{"capture",
                       "capture OUT.qbk --region X,Y,W,H [--count N] [--interval MS] [--hotkey | --on-click]",
                       runCapture};

bool parseNumber(std::string_view text, int& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseRegion(std::string_view text, Rect& region) {
    int v[4];
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',') : text.size();
        if (comma == std::string_view::npos || !parseNumber(text.substr(0, comma), v[i]))
            return false;
        text = i < 3 ? text.substr(comma + 1) : std::string_view();
    }
    if (v[2] <= 0 || v[3] <= 0 || v[2] > 16384 || v[3] > 16384)
        return false;
    region = Rect{v[0], v[1], v[0] + v[2], v[1] + v[3]};
    return true;
}

// Grabs once per Pause until count frames are there; Shift+Pause toggles timed capture at the
// interval meanwhile. Ends early, with an error, when the keys stop working.
int captureByHotKey(GlobalHotKey& keys, CaptureSession& session, int count, int interval) {
    if (Status started = keys.start([&](HotKeyAction action) { session.handleHotKey(action); }); !started)
        return fail(started.message());
    std::cerr << "quib-cli: premere \"Pausa\" per catturare (" << count << " frame)\n";
    auto nextTick = std::chrono::steady_clock::now();
    while (session.counter() < count) {
        if (!keys.isActive())
            return fail("il display X11 non è più disponibile");
        int waitMs = -1;
        if (session.timedCaptureRunning()) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= nextTick) {
                session.tick();
                if (std::string error = session.takeError(); !error.empty()) {
                    keys.stop();
                    return fail(error);
                }
                // On schedule rather than from now, so that grab time does not slow the rate.
                nextTick += std::chrono::milliseconds(interval);
                if (nextTick < now)
                    nextTick = now + std::chrono::milliseconds(interval);
                continue;
            }
            waitMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - now).count()) + 1;
        }
        pollfd p{keys.fileDescriptor(), POLLIN, 0};
        poll(&p, 1, waitMs);
        const bool wasTimed = session.timedCaptureRunning();
        keys.processEvents();
        if (!wasTimed && session.timedCaptureRunning())
            nextTick = std::chrono::steady_clock::now();
        if (std::string error = session.takeError(); !error.empty()) {
            keys.stop();
            return fail(error);
        }
    }
    keys.stop();
    return 0;
}

// One frame per press of a mouse button in the region, as the screen was before the press, until
// count frames are there; Pause grabs too.
int captureOnClick(GlobalHotKey& keys, CaptureSession& session, ClickCapture& clicks, int count) {
    if (Status started = keys.start([&](HotKeyAction action) { session.handleHotKey(action); }); !started)
        return fail(started.message());
    std::string error;
    const bool heard = keys.watchClicks([&](Point at) {
        bool stored = false;
        if (Status status = clicks.click(at, ClickCapture::Clock::now(), stored); !status)
            error = status.message();
    });
    if (!heard) {
        keys.stop();
        return fail("i clic del mouse non si possono ascoltare su questo display");
    }
    std::cerr << "quib-cli: cliccare nella regione per catturare (" << count << " frame)\n";
    auto nextSample = std::chrono::steady_clock::now();
    while (session.counter() < count && error.empty()) {
        if (!keys.isActive()) {
            error = "il display X11 non è più disponibile";
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextSample) {
            // A press already waiting belongs with the samples taken before it.
            keys.processEvents();
            (void)clicks.sample();
            nextSample += std::chrono::milliseconds(ClickCapture::kSampleIntervalMs);
            if (nextSample < now)
                nextSample = now + std::chrono::milliseconds(ClickCapture::kSampleIntervalMs);
            continue;
        }
        pollfd p{keys.fileDescriptor(), POLLIN, 0};
        poll(&p, 1, int(std::chrono::duration_cast<std::chrono::milliseconds>(nextSample - now).count()) + 1);
        keys.processEvents();
        if (std::string grabError = session.takeError(); !grabError.empty())
            error = grabError;
    }
    keys.watchClicks(nullptr);
    keys.stop();
    return error.empty() ? 0 : fail(error);
}

int runCapture(const std::vector<std::string>& args) {
    std::string output;
    Rect region;
    bool haveRegion = false, hotKey = false, onClick = false;
    int count = 1, interval = 1000;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--region" && i + 1 < args.size()) {
            if (!parseRegion(args[++i], region))
                return usage(kCapture);
            haveRegion = true;
        } else if (args[i] == "--count" && i + 1 < args.size()) {
            if (!parseNumber(args[++i], count) || count < 1 || count > 100000)
                return usage(kCapture);
        } else if (args[i] == "--interval" && i + 1 < args.size()) {
            if (!parseNumber(args[++i], interval) || interval < 1 || interval > 3600000)
                return usage(kCapture);
        } else if (args[i] == "--hotkey") {
            hotKey = true;
        } else if (args[i] == "--on-click") {
            onClick = true;
        } else if (output.empty() && !args[i].starts_with("--")) {
            output = args[i];
        } else {
            return usage(kCapture);
        }
    }
    if (output.empty() || !haveRegion || (hotKey && onClick))
        return usage(kCapture);

    const CaptureBackends backends = openCaptureBackends(CaptureBackendChoice{});
    if (!backends.screen)
        return fail(backends.screen.message());
    if ((hotKey || onClick) && !backends.hotKeyUsable())
        return fail(backends.problem);

    CQuibDoc doc;
    doc.InitNewProject();
    prepareCaptureProject(doc, region);
    // The timed rate is whole frames per second; the interval here is exact.
    CaptureSession session(*backends.grabber, doc, region, 1000 / interval);
    session.setIntervalMs(interval);

    if (onClick) {
        ClickCapture clicks(*backends.grabber, doc, region);
        if (int result = captureOnClick(*backends.hotKey, session, clicks, count); result != 0)
            return result;
    } else if (hotKey) {
        if (int result = captureByHotKey(*backends.hotKey, session, count, interval); result != 0)
            return result;
    } else {
        // Ticks keep to the start's schedule, so the time a grab takes does not pile up.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(int64_t(i) * interval));
            // Timed frames show for the interval, so the result plays at the recorded speed.
            if (!session.captureOnce(uint32_t(interval)))
                return fail(session.lastError());
        }
    }

    NullProgress progress;
    if (Status saved = SaveProject(output, doc, progress); !saved)
        return fail(saved.message() + ": " + output);
    return 0;
}

}  // namespace

std::vector<Command> captureCommands() {
    return {kCapture};
}

}  // namespace quib::cli

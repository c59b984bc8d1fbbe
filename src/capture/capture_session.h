#pragma once

#include <string>

#include "capture_frame.h"
#include "global_hot_key.h"

namespace quib {

// The controller of a capture session, without any window: single grabs, the timed-capture
// toggle and the state a dialog shows. Timed capture is driven by the caller, which calls
// tick() every intervalMs() while timedCaptureRunning() (a QTimer in the dialog, a loop in the
// command line).
class CaptureSession {
public:
    // rate in frames per second; 0 or less counts as 1.
    CaptureSession(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region, int rate);

    // One grab, shown for displayTimeMs when played. On failure timed capture is stopped and
    // lastError() holds the message.
    bool captureOnce(uint32_t displayTimeMs = 0);
    void toggleTimedCapture();
    void stopTimedCapture() { m_timedRunning = false; }
    bool timedCaptureRunning() const { return m_timedRunning; }
    // One timer tick: grabs while timed capture runs, else does nothing. True when it grabbed.
    // The frame shows for one interval, so that it plays at the speed it was recorded.
    bool tick();
    // What the hot key asks: Pause grabs once, Shift+Pause toggles timed capture.
    void handleHotKey(HotKeyAction action);

    int rate() const { return m_rate; }
    int intervalMs() const { return m_intervalMs; }
    // An interval not bound to whole frames per second (the command line's --interval).
    void setIntervalMs(int ms) { m_intervalMs = ms > 0 ? ms : 1; }
    int counter() const { return m_capture.counter(); }
    void setMemoryBudget(size_t bytes, std::string folder) {
        m_capture.setMemoryBudget(bytes, std::move(folder));
    }
    const Rect& region() const { return m_region; }
    // The message of the last failed grab, cleared by takeError().
    const std::string& lastError() const { return m_lastError; }
    std::string takeError();

private:
    CaptureFrame m_capture;
    Rect m_region;
    int m_rate;
    int m_intervalMs;
    bool m_timedRunning = false;
    std::string m_lastError;
};

}  // namespace quib

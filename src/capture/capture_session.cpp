#include "capture_session.h"

#include <utility>

namespace quib {

CaptureSession::CaptureSession(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region, int rate)
    : m_capture(grabber, doc, region),
      m_region(region),
      m_rate(rate > 0 ? rate : 1),
      m_intervalMs(1000 / m_rate) {}

bool CaptureSession::captureOnce(uint32_t displayTimeMs) {
    Status status = m_capture.grab(displayTimeMs);
    if (status.ok())
        return true;
    m_timedRunning = false;  // a failing grab would fail again on every tick
    m_lastError = status.message();
    return false;
}

void CaptureSession::toggleTimedCapture() {
    m_timedRunning = !m_timedRunning;
}

bool CaptureSession::tick() {
    if (!m_timedRunning)
        return false;
    return captureOnce(uint32_t(m_intervalMs));
}

void CaptureSession::handleHotKey(HotKeyAction action) {
    if (action == HotKeyAction::Capture)
        captureOnce();
    else
        toggleTimedCapture();
}

std::string CaptureSession::takeError() {
    return std::exchange(m_lastError, std::string());
}

}  // namespace quib

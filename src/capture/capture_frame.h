#pragma once

#include "base/geometry.h"
#include "base/status.h"
#include "capture_memory_budget.h"
#include "screen_grabber.h"

namespace quib {

class CQuibDoc;

namespace captureText {
inline constexpr const char* SaveCapturedFrameFailed = "Errore salvando il frame catturato.";
}

// Makes doc a fresh project for capturing region: default button pictures, frame and canvas of
// the region's size, the frame at the canvas origin, the capture buffer allocated.
void prepareCaptureProject(CQuibDoc& doc, const Rect& region);

// The text box of a frame captured on a click: the default box's size, beside the click point
// and inside the frame, so that a callout shown there points at where the click happened.
Rect textBoxBesideClick(Point clickInFrame, Size frame);

// One grab of region into doc's working copy, appended as a new frame. The region is fixed
// for the session; doc's frame size must equal its size (see prepareCaptureProject).
class CaptureFrame {
public:
    CaptureFrame(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region);

    // Fails with "Errore salvando il frame catturato." when the frame could not be appended
    // (the project then stays as it was), or with the grabber's message when the screen could
    // not be read; the caller stops timed capture on failure. displayTimeMs: how long the frame
    // shows when played (the interval of timed capture; 0 for single grabs).
    Status grab(uint32_t displayTimeMs = 0);
    // Appends the picture already in the capture buffer, with the cursor. click, when given, is
    // the screen point of a mouse press: the cursor is drawn there and the text box placed
    // beside it.
    Status store(const ScreenCursor& cursor, uint32_t displayTimeMs, const Point* click);
    // The captured-frames counter: the project's frame count.
    int counter() const;
    // How much of the captured pictures stays in memory, and where the rest goes.
    void setMemoryBudget(size_t bytes, std::string folder) {
        m_budget = CaptureMemoryBudget(bytes, std::move(folder));
    }

private:
    ScreenGrabber& m_grabber;
    CQuibDoc& m_doc;
    Rect m_region;
    CaptureMemoryBudget m_budget;
};

}  // namespace quib

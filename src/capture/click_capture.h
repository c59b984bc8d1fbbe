#pragma once

#include <chrono>
#include <vector>

#include "capture_frame.h"

namespace quib {

// Capture on click. Many programs react on the press itself (a menu opens), so a grab made when
// the press is heard would show the reaction. While click capture runs the region is sampled a
// few times a second into a small ring, and a click stores the newest sample taken before the
// press, with the cursor at the click.
class ClickCapture {
public:
    using Clock = std::chrono::steady_clock;
    // About fifteen samples a second: a shared-memory grab of a full screen takes a couple of
    // milliseconds.
    static constexpr int kSampleIntervalMs = 66;

    ClickCapture(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region, int ringSize = 3);

    // Grabs the region into the oldest slot of the ring. The ring's pictures are allocated once.
    Status sample();
    // A press of a mouse button at screenPos, heard at pressedAt. A press outside the region is
    // ignored (stored false). Otherwise the frame is appended, from the newest sample taken
    // before the press (a fresh grab when there is none, or when useSamples is false because
    // the samples may show something that must not be in a frame), and its failure returned.
    Status click(Point screenPos, Clock::time_point pressedAt, bool& stored, bool useSamples = true);
    // Forgets every sample, as when they can no longer be used.
    void dropSamples();
    int counter() const { return m_capture.counter(); }

private:
    struct Sample {
        Bitmap24 picture;
        Clock::time_point takenAt;
        bool valid = false;
    };

    ScreenGrabber& m_grabber;
    CQuibDoc& m_doc;
    Rect m_region;
    CaptureFrame m_capture;
    std::vector<Sample> m_ring;
    size_t m_next = 0;
};

}  // namespace quib

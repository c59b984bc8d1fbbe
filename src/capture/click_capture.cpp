#include "click_capture.h"

#include <algorithm>
#include <utility>

#include "model/quib_doc.h"

namespace quib {

ClickCapture::ClickCapture(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region, int ringSize)
    : m_grabber(grabber),
      m_doc(doc),
      m_region(region),
      m_capture(grabber, doc, region),
      m_ring(size_t(std::max(ringSize, 1))) {}

Status ClickCapture::sample() {
    Sample& slot = m_ring[m_next];
    slot.valid = false;
    const Clock::time_point began = Clock::now();
    Status grabbed = m_grabber.grab(m_region, slot.picture);
    if (!grabbed.ok())
        return grabbed;
    slot.takenAt = began;
    slot.valid = true;
    m_next = (m_next + 1) % m_ring.size();
    return Status::success();
}

void ClickCapture::dropSamples() {
    for (Sample& slot : m_ring)
        slot.valid = false;
}

Status ClickCapture::click(Point screenPos, Clock::time_point pressedAt, bool& stored, bool useSamples) {
    stored = false;
    if (!m_region.contains(screenPos))
        return Status::success();
    Sample* before = nullptr;
    for (Sample& slot : m_ring) {
        if (useSamples && slot.valid && slot.takenAt <= pressedAt &&
            (!before || slot.takenAt > before->takenAt))
            before = &slot;
    }
    const ScreenCursor cursor = m_grabber.grabCursor();
    if (before && before->picture.pixels.size() == m_doc.currentImage.pixels.size()) {
        // Swapped, not copied: the capture buffer's old block becomes the slot's, to be filled
        // by a later sample.
        std::swap(m_doc.currentImage.pixels, before->picture.pixels);
        before->valid = false;
    } else if (Status grabbed = m_grabber.grab(m_region, m_doc.currentImage); !grabbed.ok()) {
        return grabbed;
    }
    Status appended = m_capture.store(cursor, 0, &screenPos);
    stored = appended.ok();
    return appended;
}

}  // namespace quib

#include "capture_frame.h"

#include <algorithm>

#include "model/default_buttons.h"
#include "model/quib_doc.h"

namespace quib {

void prepareCaptureProject(CQuibDoc& doc, const Rect& region) {
    doc.buttonImages = defaultButtonImages();
    doc.frameOrigin = Point{0, 0};
    doc.SetEmptyProjectFrameSize(region.width(), region.height());
}

CaptureFrame::CaptureFrame(ScreenGrabber& grabber, CQuibDoc& doc, const Rect& region)
    : m_grabber(grabber), m_doc(doc), m_region(region) {}

int CaptureFrame::counter() const {
    return m_doc.frameCount();
}

Status CaptureFrame::grab(uint32_t displayTimeMs) {
    if (m_doc.frameSize.cx != m_region.width() || m_doc.frameSize.cy != m_region.height())
        return Status::failureText(captureText::SaveCapturedFrameFailed);
    Status grabbed = m_grabber.grab(m_region, m_doc.currentImage);
    if (!grabbed.ok())
        return grabbed;
    return store(m_grabber.grabCursor(), displayTimeMs, nullptr);
}

Status CaptureFrame::store(const ScreenCursor& cursor, uint32_t displayTimeMs, const Point* click) {
    const int w = m_region.width();
    const int h = m_region.height();
    if (m_doc.frameSize.cx != w || m_doc.frameSize.cy != h ||
        m_doc.currentImage.pixels.size() != size_t(w) * size_t(h) * 3)
        return Status::failureText(captureText::SaveCapturedFrameFailed);

    // Fresh defaults: no text, no title, nothing shown but the cursor.
    Frame& frame = m_doc.currentFrame;
    frame = Frame();
    applyTextStyle(frame, m_doc.settings.textStyle);
    frame.displayTime = displayTimeMs;
    frame.textBox.rect =
        click ? textBoxBesideClick(Point{click->x - m_region.left, click->y - m_region.top}, m_doc.frameSize)
              : Rect{3 * w / 5, 3 * h / 5, 4 * w / 5, 4 * h / 5};
    const Size frameSize = m_doc.frameSize;
    const Bitmap32& next = m_doc.buttonImages.images[ButtonImageSet::Next];
    const Bitmap32& prev = m_doc.buttonImages.images[ButtonImageSet::Previous];
    frame.nextButton.pos = Point{frameSize.cx - next.width, frameSize.cy - next.height};
    frame.prevButton.pos = Point{frameSize.cx - next.width - prev.width, frameSize.cy - prev.height};

    const Point pointer = click ? *click : cursor.screenPos;
    frame.cursorPos = Point{pointer.x - m_region.left - cursor.picture.hotSpot.x,
                            pointer.y - m_region.top - cursor.picture.hotSpot.y};
    // The picture already holds the recorded form (alpha 0 or 255, transparent as 1,1,1,0); the
    // key-colour rule of pictures from files would make an opaque pixel of the key colour vanish.
    if (cursor.picture.isNull())
        frame.clearCursorImage();
    else
        frame.setCursorImage(cursor.picture.image);
    frame.cursorVisible = cursor.inPicture ? 0 : 1;

    const int before = m_doc.frameCount();
    if (!m_doc.AppendCapturedFrame()) {
        // Leave the project as it was: drop the half-made frame.
        if (m_doc.frameCount() > before)
            m_doc.frames.resize(size_t(before));
        m_doc.currentFrameIndex = before - 1;
        return Status::failureText(captureText::SaveCapturedFrameFailed);
    }
    m_doc.SetModifiedFlag(true);
    m_budget.captured(m_doc, m_doc.frameCount() - 1);
    return Status::success();
}

Rect textBoxBesideClick(Point click, Size frame) {
    // The default box's size, just below and to the right of the pointer, or on the other side
    // where the frame ends.
    const int w = frame.cx / 5;
    const int h = frame.cy / 5;
    constexpr int kGap = 16;
    int left = click.x + kGap;
    int top = click.y + kGap;
    if (left + w > frame.cx)
        left = click.x - kGap - w;
    if (top + h > frame.cy)
        top = click.y - kGap - h;
    left = std::clamp(left, 0, std::max(0, frame.cx - w));
    top = std::clamp(top, 0, std::max(0, frame.cy - h));
    return Rect{left, top, left + w, top + h};
}

}  // namespace quib

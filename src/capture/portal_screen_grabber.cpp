#include "portal_screen_grabber.h"

#include "capture_messages.h"
#include "cursor_rules.h"

namespace quib {

std::unique_ptr<PortalScreenGrabber> PortalScreenGrabber::open(QDBusConnection bus,
                                                               const PortalScreenCastOptions& options,
                                                               Status& status) {
    std::unique_ptr<PortalScreenGrabber> grabber(new PortalScreenGrabber(std::move(bus)));
    PortalStream stream;
    status = grabber->m_cast.start(options, stream);
    if (!status)
        return nullptr;
    grabber->m_stream = PipeWireFrameStream::open(std::move(stream.pipeWireFd), stream.nodeId, status);
    if (!grabber->m_stream)
        return nullptr;
    grabber->m_origin = stream.position;
    grabber->m_announcedSize = stream.size;
    grabber->m_cursorMetadata = stream.cursorMetadata;
    grabber->m_restoreToken = stream.restoreToken;
    return grabber;
}

Status PortalScreenGrabber::grab(const Rect& region, Bitmap24& out) {
    const Rect area{region.left - m_origin.x, region.top - m_origin.y, region.right - m_origin.x,
                    region.bottom - m_origin.y};
    return m_stream->copyLatest(area, out, kFirstPictureTimeoutMs);
}

ScreenCursor PortalScreenGrabber::grabCursor() {
    ScreenCursor result;
    if (!m_cursorMetadata) {
        result.picture = transparentCursorPicture();
        result.inPicture = true;
        return result;
    }
    const StreamCursor cursor = m_stream->cursor();
    if (!cursor.visible || cursor.argb.empty()) {
        result.picture = transparentCursorPicture();
        // Off the shared area: far outside any region, so the frame shows no cursor.
        result.screenPos = cursor.visible
                               ? Point{cursor.position.x + m_origin.x, cursor.position.y + m_origin.y}
                               : Point{-100000, -100000};
        return result;
    }
    result.picture = cursorPictureFromArgb(cursor.argb.data(), cursor.width, cursor.height, cursor.hotSpot);
    result.screenPos = Point{cursor.position.x + m_origin.x, cursor.position.y + m_origin.y};
    return result;
}

Size PortalScreenGrabber::screenSize() {
    const Size size = m_stream->size();
    return size.cx > 0 ? size : m_announcedSize;
}

WindowAtPoint PortalScreenGrabber::windowAt(Point) {
    // The portal shows no other windows; the shared area stands for the whole screen.
    WindowAtPoint result;
    const Size size = screenSize();
    result.frame = Rect{m_origin.x, m_origin.y, m_origin.x + size.cx, m_origin.y + size.cy};
    result.region = result.frame;
    return result;
}

std::string PortalScreenGrabber::takeNotice() {
    if (m_cursorMetadata || m_noticeGiven)
        return {};
    m_noticeGiven = true;
    return captureText::CursorInPicture;
}

}  // namespace quib

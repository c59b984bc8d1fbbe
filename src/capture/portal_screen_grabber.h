#pragma once

#include <memory>
#include <string>

#include "pipewire_frame_stream.h"
#include "portal_screen_cast.h"
#include "screen_grabber.h"

namespace quib {

// Reads the screen through the desktop portal's screen cast: the user picks a monitor or a window
// in the portal's dialog (once, when a restore token is kept), and the pictures and the cursor
// come from the PipeWire stream. Screen coordinates are the desktop's; a window source has its
// top-left corner at (0, 0).
class PortalScreenGrabber final : public ScreenGrabber {
public:
    // How long a grab waits for the stream's first picture.
    static constexpr int kFirstPictureTimeoutMs = 3000;

    // Fails with an Italian message when the portal is missing, refuses, or the stream cannot be read.
    static std::unique_ptr<PortalScreenGrabber> open(QDBusConnection bus,
                                                     const PortalScreenCastOptions& options, Status& status);

    Status grab(const Rect& region, Bitmap24& out) override;
    ScreenCursor grabCursor() override;
    Size screenSize() override;
    WindowAtPoint windowAt(Point screenPoint) override;
    std::string takeNotice() override;

    // To keep for the next session; empty when the portal gave none.
    const std::string& restoreToken() const { return m_restoreToken; }
    bool cursorAsMetadata() const { return m_cursorMetadata; }
    PipeWireFrameStream& stream() { return *m_stream; }

private:
    explicit PortalScreenGrabber(QDBusConnection bus) : m_cast(std::move(bus)) {}

    PortalScreenCast m_cast;
    std::unique_ptr<PipeWireFrameStream> m_stream;
    Point m_origin;
    Size m_announcedSize;
    bool m_cursorMetadata = false;
    bool m_noticeGiven = false;
    std::string m_restoreToken;
};

}  // namespace quib

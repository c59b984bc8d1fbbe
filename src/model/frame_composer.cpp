#include "model/frame_composer.h"

#include <algorithm>

#include "model/quib_doc.h"

namespace quib {

FrameComposer::FrameComposer(const CQuibDoc& doc, const CalloutLibrary& library)
    : m_doc(doc), m_library(library) {}

Status FrameComposer::compose(int index, Bitmap24& picture, uint32_t flags) {
    const Size canvas = m_doc.backgroundSize;
    // A frame picture that covers the whole canvas is decoded straight into it: outputs that
    // compose every frame then hold one picture instead of two. A damaged one takes the long way,
    // which leaves what it decoded over the uncovered canvas.
    if ((flags & ComposeFrameImage) && m_doc.frameSize == canvas && m_doc.frameOrigin == Point{0, 0}) {
        m_frame = m_doc.readFrame(index);
        if (m_doc.decodeFrame(index, picture)) {
            m_picture = Bitmap24();
            ComposeFrame(m_doc, m_frame, m_picture, m_library, m_surfaces, picture.pixels.data(),
                         flags & ~uint32_t(ComposeFrameImage | ComposeBackground));
            return Status::success();
        }
    }
    if (picture.width != canvas.cx || picture.height != canvas.cy)
        picture = Bitmap24(std::max(canvas.cx, 0), std::max(canvas.cy, 0));
    std::fill(picture.pixels.begin(), picture.pixels.end(), kUncoveredCanvas);
    m_frame = m_doc.readFrame(index);
    Status status = m_doc.decodeFrame(index, m_picture);
    if (!picture.isNull())
        ComposeFrame(m_doc, m_frame, m_picture, m_library, m_surfaces, picture.pixels.data(), flags);
    return status;
}

}  // namespace quib

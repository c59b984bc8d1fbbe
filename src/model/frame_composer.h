#pragma once

#include <cstdint>

#include "base/bitmap.h"
#include "base/status.h"
#include "model/frame.h"
#include "model/frame_composition.h"
#include "model/offscreen_surface.h"

namespace quib {

class CQuibDoc;
class CalloutLibrary;

// Composes any frame of a project into a canvas picture without selecting it: the reader's way to
// see frames as the editor shows them. Owns its buffers and drawing surfaces, so each thread that
// composes frames uses its own composer; the project must not change while it is used.
class FrameComposer {
public:
    FrameComposer(const CQuibDoc& doc, const CalloutLibrary& library);

    // Frame index with the elements of flags into picture (made the canvas size), uncovered parts
    // white. A damaged picture stream fails with the message to show, picture as far as it decoded.
    Status compose(int index, Bitmap24& picture, uint32_t flags = ComposeAll);

    // The frame last composed: its elements as shown.
    const Frame& frame() const { return m_frame; }

private:
    const CQuibDoc& m_doc;
    const CalloutLibrary& m_library;
    CompositionSurfaces m_surfaces;
    Frame m_frame;
    Bitmap24 m_picture;
};

}  // namespace quib

#pragma once

#include <QImage>
#include <cstdint>

#include "base/status.h"

class QMimeData;

namespace quib {

class CQuibDoc;

// What the frame editor copies and pastes: its selected elements in the private format, the
// current frame picture or the composed frame as a standard bitmap, and frames.

// The selected elements, or the frame picture when nothing or the frame image is selected.
QMimeData* selectionMimeData(const CQuibDoc& doc, uint32_t selection);
// The whole frame as the movie shows it, as a bitmap of the canvas size.
QMimeData* mergedFrameMimeData(CQuibDoc& doc);

// The current frame's picture (frame size), or a null image when there is no current frame.
QImage currentFramePicture(const CQuibDoc& doc);

// Whether data holds frames, elements or a bitmap the editor can paste.
bool editorCanPaste(const QMimeData* data);

struct EditorPasteResult {
    Status status;           // a failure to show
    uint32_t selection = 0;  // the elements pasted, which become the selection
    bool pasted = false;     // something was pasted
};

// Pastes every format data holds, in this order: frames in front of the current frame, a bitmap
// into the current picture, elements into the working copy.
EditorPasteResult pasteIntoEditor(CQuibDoc& doc, const QMimeData& data);

// Copies picture into the current frame's picture from the top-left corner, as far as both reach.
// A project without frames first gets one empty frame of the picture's size.
Status pastePicture(CQuibDoc& doc, const QImage& picture);

// Inserts count empty black frames in front of the current frame; a project without frames first
// takes the size cx x cy. The views hear of the inserted range.
Status insertEmptyFrames(CQuibDoc& doc, int count, int cx, int cy);

}  // namespace quib

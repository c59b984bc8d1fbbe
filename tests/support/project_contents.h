#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/bitmap.h"
#include "base/progress.h"
#include "base/zlib_util.h"
#include "model/project_file.h"
#include "model/quib_doc.h"

namespace quib::test {

// The picture a frame stores; empty when its stream does not unpack to exactly size.
inline Bitmap24 storedFramePicture(const Frame& frame, Size size) {
    Bitmap24 picture(size.cx, size.cy);
    const auto unpacked = zlibUncompress(frame.imageData.data(), frame.imageData.size(),
                                         picture.pixels.data(), picture.pixels.size());
    return unpacked == picture.pixels.size() ? picture : Bitmap24();
}
inline Bitmap24 storedFramePicture(const CQuibDoc& doc, int index) {
    return storedFramePicture(doc.frames[size_t(index)], doc.frameSize);
}

// A frame's elements as the document shows them (the working copy's for the current frame).
inline FrameElements frameElements(const CQuibDoc& doc, int index) {
    FrameElements elements;
    doc.GetFrame(index, elements);
    return elements;
}

// The bytes of doc's project file, made in memory.
inline std::vector<uint8_t> projectFileBytes(CQuibDoc& doc) {
    NullProgress progress;
    return ProjectFile::store(doc, "/tmp/project.qbk", progress);
}

}  // namespace quib::test

#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "../base/base_test_util.h"
#include "model/quib_doc.h"

namespace quib::test {

// A document with count frames of size; frame k is filled with the grey level 10 + k and titled
// "F<k>". The first frame is selected.
void makeProject(CQuibDoc& doc, int count, Size size = Size{8, 6});

// The decompressed picture of a frame's stored stream.
std::vector<uint8_t> storedPixels(const CQuibDoc& doc, int index);

// Records every update hint the document sends.
struct RecordingObserver : DocObserver {
    std::vector<std::pair<int, uint32_t>> hints;
    void onUpdate(int h, uint32_t arg) override { hints.emplace_back(h, arg); }
};

// A small non-square cursor picture with distinct pixels.
Bitmap32 oddCursor(int width = 5, int height = 3);

}  // namespace quib::test

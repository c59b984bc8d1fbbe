#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/quib_doc.h"
#include "support/bytes_and_pictures.h"
#include "support/project_contents.h"

namespace quib::test {

// A document with count frames of size; frame k is filled with the grey level 10 + k and titled
// "F<k>". The first frame is selected.
void makeProject(CQuibDoc& doc, int count, Size size = Size{8, 6});

// Records every update hint the document sends.
struct RecordingObserver : DocObserver {
    std::vector<std::pair<int, uint32_t>> hints;
    void onUpdate(int h, uint32_t arg) override { hints.emplace_back(h, arg); }
};

// A small non-square cursor picture with distinct pixels.
Bitmap32 oddCursor(int width = 5, int height = 3);

}  // namespace quib::test

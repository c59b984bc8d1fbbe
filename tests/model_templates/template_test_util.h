#pragma once

#include <cstdint>
#include <vector>

#include "base/bitmap.h"
#include "model/quib_doc.h"
#include "model/template_file.h"

namespace quib::test {

// A project of frameCount synthetic frames with a background picture, four button pictures and
// distinct settings, titles and positions on every frame; frame 1 (or 0) is selected.
void makeStyledProject(CQuibDoc& doc, int frameCount = 3);

// A second project that differs from makeStyledProject's in every element a template carries.
void makeOtherProject(CQuibDoc& doc, int frameCount = 3);

// Every frame's elements as the document sees them.
std::vector<FrameElements> frameElementsOf(const CQuibDoc& doc);

}  // namespace quib::test

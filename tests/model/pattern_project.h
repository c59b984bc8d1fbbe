#pragma once

#include <cstdint>

#include "model/quib_doc.h"

namespace quib::test {

// The pixel a pattern project holds at (x, y) of frame `frame`: every pixel tells where it is.
inline uint8_t patternBlue(int x, int, int frame) {
    return uint8_t(x + frame * 7);
}
inline uint8_t patternGreen(int, int y, int) {
    return uint8_t(y);
}
inline uint8_t patternRed(int x, int y, int frame) {
    return uint8_t(x * 3 + y + frame * 40);
}

// Makes doc a new project of frameCount frames of cx x cy whose pictures follow the pattern above;
// frame i carries the text "frame i". The first frame is current and the document unmodified.
bool makePatternProject(CQuibDoc& doc, int frameCount, int cx, int cy);

// Checks that every pixel of every frame is the pattern pixel at its place plus (dx, dy).
void expectPatternShiftedBy(const CQuibDoc& doc, int dx, int dy);

}  // namespace quib::test

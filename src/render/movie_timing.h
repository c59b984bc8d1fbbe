#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/geometry.h"

namespace quib {

class CQuibDoc;

// Timing and navigation rules every player of a project follows, so that the movie and the web
// page play a project the same way.

// Frames at frameRate that a project frame is held for: its display time rounded, plus one.
int64_t holdFrames(uint32_t displayTime, uint32_t frameRate);

// Steps of the cursor's glide from one position to the next: one per `smoothness` pixels and at
// least one; one fewer when its picture changes on arrival (the new picture takes the last step).
int64_t glideSteps(Point from, Point to, int smoothness, bool pictureChanged);
// The cursor's position after step of steps.
Point glidePosition(Point from, Point to, int64_t step, int64_t steps);

// What the buttons of a project frame do in every player.
struct FrameLinks {
    static constexpr int kMovieStart = -1;  // Previous without an earlier stop: the very start
    static constexpr int kNone = -2;

    bool stops = false;                           // the frame waits for a click
    int previous = kNone;                         // the last stopping frame before this one, or kMovieStart
    bool next = false;                            // plays on
    std::array<int, 2> gotoTarget{kNone, kNone};  // the frames the go-to buttons play from
};

// The links of frames 0 .. count - 1; hasPicture says which button pictures (Previous, Next,
// Goto 1, Goto 2) exist, since a button without a picture is not shown. A go-to before the first
// frame goes to the first; one past the last is not shown but the frame still stops.
std::vector<FrameLinks> planFrameLinks(const CQuibDoc& doc, int count, const std::array<bool, 4>& hasPicture);

}  // namespace quib

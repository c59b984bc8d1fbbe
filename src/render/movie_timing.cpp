#include "render/movie_timing.h"

#include <algorithm>
#include <cmath>

#include "model/goto_target.h"
#include "model/quib_doc.h"

namespace quib {

int64_t holdFrames(uint32_t displayTime, uint32_t frameRate) {
    return (int64_t(displayTime) * frameRate + 500) / 1000 + 1;
}

int64_t glideSteps(Point from, Point to, int smoothness, bool pictureChanged) {
    const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    int64_t steps = int64_t(std::sqrt(dx * dx + dy * dy) / std::max(smoothness, 1));
    if (steps == 0)
        steps = 1;
    return pictureChanged ? steps - 1 : steps;
}

Point glidePosition(Point from, Point to, int64_t step, int64_t steps) {
    if (steps <= 0)
        return to;
    return Point{int32_t(from.x + (int64_t(to.x) - from.x) * step / steps),
                 int32_t(from.y + (int64_t(to.y) - from.y) * step / steps)};
}

std::vector<FrameLinks> planFrameLinks(const CQuibDoc& doc, int count,
                                       const std::array<bool, 4>& hasPicture) {
    std::vector<FrameLinks> plan(size_t(std::max(count, 0)));
    int lastStop = FrameLinks::kMovieStart;
    for (int i = 0; i < count; ++i) {
        const Frame frame = doc.readFrame(i);
        FrameLinks& links = plan[size_t(i)];
        if (i > 0 && frame.prevButton.visible && hasPicture[ButtonImageSet::Previous]) {
            links.previous = lastStop;
            links.stops = true;
        }
        if (i != count - 1 && frame.nextButton.visible && hasPicture[ButtonImageSet::Next]) {
            links.next = true;
            links.stops = true;
        }
        for (int k = 0; k < 2; ++k) {
            const NavButton& go = frame.gotoButtons[k];
            if (!go.visible || !hasPicture[ButtonImageSet::Goto1 + k])
                continue;
            links.stops = true;
            if (const std::optional<int> target = gotoTarget(i, go.targetOffset, count))
                links.gotoTarget[size_t(k)] = *target;
        }
        if (links.stops)
            lastStop = i;
    }
    return plan;
}

}  // namespace quib

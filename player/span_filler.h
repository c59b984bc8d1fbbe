#pragma once

#include <functional>
#include <vector>

#include "path.h"

namespace quib::player {

// Calls span(y, x0, x1) for every run of pixels x0 <= x < x1 on row y, within width x height,
// whose centres lie inside the polygons by the even-odd rule. Edges are not smoothed.
void fillSpans(const std::vector<Polygon>& polygons, int width, int height,
               const std::function<void(int y, int x0, int x1)>& span);

}  // namespace quib::player

#include "raster/flood_fill.h"

#include <vector>

namespace quib::raster {

bool floodFill(QImage& image, int x, int y, QRgb fill) {
    if (image.depth() != 32 || x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    const int w = image.width();
    const int h = image.height();
    auto row = [&](int yy) { return reinterpret_cast<QRgb*>(image.scanLine(yy)); };
    const QRgb seed = row(y)[x];
    if (seed == fill)
        return false;

    // Scanline fill: each stacked seed expands into a horizontal run, whose neighbours above and
    // below start new runs. The stack holds seeds, never recursion, so big regions are safe.
    struct Seed {
        int x;
        int y;
    };
    std::vector<Seed> stack{{x, y}};
    while (!stack.empty()) {
        Seed s = stack.back();
        stack.pop_back();
        QRgb* line = row(s.y);
        if (line[s.x] != seed)
            continue;
        int left = s.x;
        while (left > 0 && line[left - 1] == seed)
            --left;
        int right = s.x;
        while (right + 1 < w && line[right + 1] == seed)
            ++right;
        for (int i = left; i <= right; ++i)
            line[i] = fill;
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const QRgb* other = row(ny);
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                bool match = other[i] == seed;
                if (match && !inRun)
                    stack.push_back({i, ny});
                inRun = match;
            }
        }
    }
    return true;
}

}  // namespace quib::raster

#include "color_table.h"

#include <algorithm>
#include <limits>

#include "model/frame.h"

namespace quib {

RenderPalette makeRenderPalette(const ProjectSettings& settings) {
    RenderPalette result;
    const int count = std::clamp(settings.paletteCount, 0, 256);
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = settings.palette[i];
        result.table.set(i, e.red, e.green, e.blue, 255);
    }
    if (count < 256) {
        result.transparent = count;
        result.table.count = count + 1;
    } else {
        int64_t best = std::numeric_limits<int64_t>::max();
        for (int i = 0; i < 256; ++i) {
            const uint8_t* a = result.table.entry(i);
            for (int j = i + 1; j < 256; ++j) {
                const uint8_t* b = result.table.entry(j);
                const int64_t dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
                const int64_t d = dr * dr + dg * dg + db * db;
                if (d < best) {
                    best = d;
                    result.transparent = i;
                }
            }
        }
        result.table.count = 256;
    }
    result.table.set(result.transparent, 0, 0, 0, 0);
    return result;
}

}  // namespace quib

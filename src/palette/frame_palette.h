#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "base/bitmap.h"
#include "base/progress.h"
#include "palette/palette_entry.h"

namespace quib {

// The pictures an octree palette is computed from: frameCount frames of frameHeight rows handed
// out one at a time (so that only one decompressed frame is alive), then the optional background.
struct PaletteSource {
    int frameCount = 0;
    int frameHeight = 0;
    // Fills the picture of frame `index`; false stops the operation without a palette.
    std::function<bool(int index, Bitmap24& picture)> frameAt;
    const Bitmap24* background = nullptr;
};

inline constexpr const char* kOctreeProgressTitle = "Computing octree palette...";

// Octree palette of depth 8 with at most maxColors (1 .. 256) entries over every pixel of the
// source. Pure white, when present anywhere, is kept exactly: it replaces the last entry when the
// palette is full and is appended otherwise. The progress covers one step per pixel row.
// Nothing is returned when the progress is cancelled, a frame cannot be read or maxColors is out
// of range; an empty palette when the octree itself could not be brought down to maxColors.
std::optional<std::vector<PaletteEntry>> BuildPaletteFromFrames(const PaletteSource& source, int maxColors,
                                                                Progress& progress);

// Convenience form over pictures already in memory.
std::optional<std::vector<PaletteEntry>> BuildPaletteFromFrames(const std::vector<Bitmap24>& frames,
                                                                const Bitmap24* background, int maxColors,
                                                                Progress& progress);

}  // namespace quib

#include "palette/frame_palette.h"

#include <algorithm>
#include <cstdint>

#include "palette/octree.h"

namespace quib {

namespace {

// Adds the rows of one picture; false when the user cancelled.
bool addPicture(OctreeQuantizer& tree, const Bitmap24& picture, bool& sawWhite, int& position,
                Progress& progress) {
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.pixel(0, y);
        tree.addRow(row, picture.width, 3);
        if (!sawWhite) {
            for (int x = 0; x < picture.width; ++x, row += 3) {
                if (row[0] == 255 && row[1] == 255 && row[2] == 255) {
                    sawWhite = true;
                    break;
                }
            }
        }
        progress.setPosition(++position);
        if (progress.cancelled())
            return false;
    }
    return true;
}

bool isUsable(const Bitmap24& picture) {
    return picture.width >= 0 && picture.height >= 0 &&
           picture.pixels.size() == size_t(picture.width) * size_t(picture.height) * 3;
}

}  // namespace

std::optional<std::vector<PaletteEntry>> BuildPaletteFromFrames(const PaletteSource& source, int maxColors,
                                                                Progress& progress) {
    if (maxColors < 1 || maxColors > kMaxPaletteEntries)
        return std::nullopt;
    const int64_t rows = int64_t(std::max(source.frameHeight, 0)) * std::max(source.frameCount, 0) +
                         (source.background ? source.background->height : 0);
    progress.setText(kOctreeProgressTitle);
    progress.setRange(0, int(std::min<int64_t>(rows, INT32_MAX)));
    progress.setPosition(0);

    OctreeQuantizer tree(maxColors, 8);
    bool sawWhite = false;
    int position = 0;
    Bitmap24 picture;
    for (int i = 0; i < source.frameCount; ++i) {
        if (!source.frameAt || !source.frameAt(i, picture) || !isUsable(picture))
            return std::nullopt;
        if (!addPicture(tree, picture, sawWhite, position, progress))
            return std::nullopt;
    }
    if (source.background && isUsable(*source.background) &&
        !addPicture(tree, *source.background, sawWhite, position, progress))
        return std::nullopt;

    std::vector<PaletteEntry> entries = tree.palette();
    if (sawWhite && !entries.empty()) {
        const PaletteEntry white{255, 255, 255, 255};
        if (int(entries.size()) >= maxColors)
            entries.back() = white;
        else
            entries.push_back(white);
    }
    return entries;
}

std::optional<std::vector<PaletteEntry>> BuildPaletteFromFrames(const std::vector<Bitmap24>& frames,
                                                                const Bitmap24* background, int maxColors,
                                                                Progress& progress) {
    PaletteSource source;
    source.frameCount = int(frames.size());
    source.frameHeight = frames.empty() ? 0 : frames.front().height;
    source.frameAt = [&frames](int index, Bitmap24& picture) {
        picture = frames[size_t(index)];
        return true;
    };
    source.background = background;
    return BuildPaletteFromFrames(source, maxColors, progress);
}

}  // namespace quib

#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "base/progress.h"
#include "palette/palette_entry.h"

namespace quib {

class CQuibDoc;

// How "Crea nuova" makes a palette.
struct NewPaletteChoice {
    enum class Method { Standard16, WebSafe216, Octree };
    Method method = Method::Octree;
    int colours = 256;      // octree only, 1 .. 256
    bool allFrames = true;  // octree only: every frame, or the current one
};

// The outcome of making a palette: the entries, nothing when cancelled, or a failure message.
struct NewPaletteResult {
    std::optional<std::vector<PaletteEntry>> entries;
    QString error;  // set when the palette could not be made for another reason than cancel
};

// Makes the chosen palette. The octree reads the current frame or every frame (each made current
// in turn, the originally current frame current again at the end) and then the background
// picture, reporting one progress step per pixel row; cancelling gives no entries.
NewPaletteResult buildProjectPalette(CQuibDoc& doc, const NewPaletteChoice& choice, Progress& progress);

}  // namespace quib

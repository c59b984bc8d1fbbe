#include "project_palette.h"

#include "model/quib_doc.h"
#include "palette/frame_palette.h"
#include "palette/standard_palettes.h"

namespace quib {

namespace {

bool hasPicture(const Bitmap24& picture) {
    return picture.width > 0 && picture.height > 0;
}

// Puts the originally current frame back whatever way the walk over the frames ends.
class CurrentFrameKeeper {
public:
    explicit CurrentFrameKeeper(CQuibDoc& doc) : m_doc(doc), m_index(doc.currentFrameIndex) {}
    ~CurrentFrameKeeper() {
        if (m_doc.currentFrameIndex != m_index && m_doc.isValidIndex(m_index))
            m_doc.SelectFrame(m_index);
    }
    CurrentFrameKeeper(const CurrentFrameKeeper&) = delete;
    CurrentFrameKeeper& operator=(const CurrentFrameKeeper&) = delete;

private:
    CQuibDoc& m_doc;
    int m_index;
};

NewPaletteResult octreePalette(CQuibDoc& doc, const NewPaletteChoice& choice, Progress& progress) {
    NewPaletteResult result;
    if (choice.colours < 1 || choice.colours > kMaxPaletteEntries) {
        result.error = QStringLiteral("Si prega di inserire un numero tra 1 e 256");
        return result;
    }
    if (!doc.isValidIndex(doc.currentFrameIndex) || doc.frameCount() == 0) {
        result.error = QStringLiteral("Il progetto non contiene frames da cui calcolare la palette.");
        return result;
    }
    CurrentFrameKeeper keeper(doc);
    int unreadable = -1;
    PaletteSource source;
    source.frameHeight = doc.frameSize.cy;
    source.background = hasPicture(doc.backgroundImage) ? &doc.backgroundImage : nullptr;
    if (choice.allFrames) {
        source.frameCount = doc.frameCount();
        source.frameAt = [&doc, &unreadable](int index, Bitmap24& picture) {
            if (!doc.SelectFrame(index)) {
                unreadable = index;
                return false;
            }
            picture = doc.currentImage;
            return true;
        };
    } else {
        source.frameCount = 1;
        source.frameAt = [&doc](int, Bitmap24& picture) {
            picture = doc.currentImage;
            return true;
        };
    }
    result.entries = BuildPaletteFromFrames(source, choice.colours, progress);
    if (!result.entries && !progress.cancelled())
        result.error =
            unreadable >= 0
                ? QStringLiteral("Impossibile leggere l'immagine del frame %1.").arg(unreadable + 1)
                : QStringLiteral("Impossibile leggere le immagini del progetto.");
    return result;
}

}  // namespace

NewPaletteResult buildProjectPalette(CQuibDoc& doc, const NewPaletteChoice& choice, Progress& progress) {
    switch (choice.method) {
        case NewPaletteChoice::Method::Standard16:
            return {StandardPalette16(), {}};
        case NewPaletteChoice::Method::WebSafe216:
            return {WebSafePalette216(), {}};
        case NewPaletteChoice::Method::Octree:
            break;
    }
    return octreePalette(doc, choice, progress);
}

}  // namespace quib

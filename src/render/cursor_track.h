#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "base/bitmap.h"
#include "base/geometry.h"
#include "swf/swf_shape_object.h"

namespace quib {

class SwfMovie;

// The recorded cursor in the movie: one bitmap per distinct picture, gliding from its last
// position to the next in steps of `smoothness` pixels.
class CursorTrack {
public:
    static constexpr uint16_t kLayer = 900;

    CursorTrack(SwfMovie& movie, int smoothness);
    CursorTrack(const CursorTrack&) = delete;
    CursorTrack& operator=(const CursorTrack&) = delete;

    // Moves or replaces the cursor for the next project frame, starting on SWF frame f. Returns
    // the SWF frame the rest of the project frame goes on (f plus the glide steps).
    int advance(int f, bool visible, Point position, const Bitmap32& picture);

    // Distinct pictures seen so far.
    size_t libraryCount() const { return m_library.size(); }

private:
    struct Entry {
        Bitmap32 picture;
        std::unique_ptr<BitmapObject> object;
    };
    Entry* findOrAdd(const Bitmap32& picture);

    SwfMovie& m_movie;
    int m_smoothness;
    std::deque<Entry> m_library;  // stable addresses for m_onStage
    Entry* m_onStage = nullptr;
    Point m_position;
    bool m_previousVisible = false;
};

// The 8-bit form of a cursor picture: entry 0 transparent (0, 0, 0, 0), then at most 255
// octree colours. Pixels with alpha below 128 count as transparent, the others as opaque.
struct IndexedCursor {
    std::vector<uint8_t> pixels;  // rows padded to a multiple of 4
    std::vector<uint8_t> colorTable;
    int colorCount = 0;
};
IndexedCursor indexCursorPicture(const Bitmap32& picture);

}  // namespace quib

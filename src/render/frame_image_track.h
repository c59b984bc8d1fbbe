#pragma once

#include <future>
#include <memory>
#include <span>
#include <vector>

#include "base/geometry.h"
#include "render/color_table.h"
#include "swf/swf_shape_object.h"

namespace quib {

class SwfMovie;

// The captured pictures in the movie: per project frame only the rectangle that changed is added
// as a patch over the pictures already on the stage, unless a whole frame compresses smaller or
// ten project frames have passed since the last whole frame. Only the bitmap that goes into the
// movie is compressed, unless a quick estimate leaves the choice open.
class FrameImageTrack {
public:
    static constexpr uint16_t kLayer = 95;
    static constexpr int kFullFrameInterval = 10;
    // Level 9 spends twice the time of level 8 on screen pictures for under 2 % of their size.
    static constexpr int kCompressionLevel = 8;

    enum class Change { None, Patch, FullFrame };

    // palette: null for 32-bit pictures, else the render palette of 8-bit ones.
    FrameImageTrack(SwfMovie& movie, Size frameSize, Point origin, const RenderPalette* palette);
    FrameImageTrack(const FrameImageTrack&) = delete;
    FrameImageTrack& operator=(const FrameImageTrack&) = delete;

    // The buffer the next frame's picture is converted into (movie pixel format).
    std::vector<uint8_t>& current() { return m_current; }

    // Compares the current buffer with the previous frame's and places what changed on SWF frame f.
    Change update(int projectFrame, int f);

    // Changed rectangle of the last update (frame pixels, right and bottom exclusive), widened as
    // 8-bit patches need; empty when nothing changed.
    const Rect& lastBox() const { return m_lastBox; }
    size_t liveCount() const { return m_live.size(); }

private:
    enum class Estimate { Patch, Close };

    Rect changedBox() const;
    Estimate estimate(const Rect& box, std::span<const uint8_t> patchPixels) const;
    void fillPatch32(const Rect& box);
    std::vector<uint8_t> patchPixels8(Rect& box);
    std::unique_ptr<BitmapObject> makeFullFrame();
    std::unique_ptr<BitmapObject> makeBitmap(const Rect& box, uint8_t format, bool hasAlpha,
                                             const std::vector<uint8_t>& pixels, const ColorTable* table);
    void placeLive(std::unique_ptr<BitmapObject> object, int f);

    SwfMovie& m_movie;
    Size m_size;
    Point m_origin;
    const RenderPalette* m_palette;
    size_t m_stride;
    int m_pixelBytes;
    std::vector<uint8_t> m_current, m_previous, m_scratch;
    std::vector<std::unique_ptr<BitmapObject>> m_live;
    std::shared_future<SwfBlock> m_lastFullData;  // the last whole frame's compressed pixels
    int m_lastKey = -20;
    bool m_first = true;
    Rect m_lastBox;
};

}  // namespace quib

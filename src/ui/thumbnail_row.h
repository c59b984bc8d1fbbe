#pragma once

namespace quib {

// What the thumbnail row needs to know of the strip below the editor to size itself.
class ThumbnailRowMetrics {
public:
    virtual ~ThumbnailRowMetrics() = default;
    virtual bool isEmpty() const = 0;
    virtual int itemHeight() const = 0;
    // Height of the horizontal scroll bar when the strip shows one, else 0.
    virtual int horizontalScrollBarHeight() const = 0;
};

inline constexpr int EmptyThumbnailRowHeight = 110;

// One thumbnail item plus 2 pixels and the scroll bar; 110 pixels while the strip is empty.
inline int thumbnailRowHeight(const ThumbnailRowMetrics& strip) {
    if (strip.isEmpty())
        return EmptyThumbnailRowHeight;
    return strip.itemHeight() + 2 + strip.horizontalScrollBarHeight();
}

}  // namespace quib

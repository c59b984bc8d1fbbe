#include "model/text_fit.h"

#include <QImage>

#include "model/frame.h"
#include "raster/draw_context.h"
#include "shapes/callout.h"
#include "shapes/wrapped_text.h"

namespace quib {

namespace {

bool fitsAtHeight(raster::DrawContext& dc, const TextBox& box, const Callout& callout, int height) {
    const Rect area = callout.TextRect(box.rect.width(), height);
    return WrappedTextHeight(dc, box.text, area.width()) <= area.height();
}

// Only measures: a one-pixel picture is enough to hold the font.
struct Measure {
    QImage image{1, 1, QImage::Format_ARGB32};
    raster::DrawContext dc{image};
    explicit Measure(const TextBox& box) { dc.setFont(box.font.logFont); }
};

}  // namespace

bool textFitsBox(const TextBox& box, const Callout& callout) {
    if (box.text.empty() || box.rect.width() <= 0 || box.rect.height() <= 0)
        return true;
    Measure measure(box);
    return fitsAtHeight(measure.dc, box, callout, box.rect.height());
}

std::optional<int32_t> bottomThatFitsText(const TextBox& box, const Callout& callout, int32_t limit) {
    if (textFitsBox(box, callout))
        return box.rect.bottom;
    if (limit <= box.rect.bottom || box.rect.width() <= 0)
        return std::nullopt;
    Measure measure(box);
    if (!fitsAtHeight(measure.dc, box, callout, limit - box.rect.top))
        return std::nullopt;
    // The text area grows with the box: the least height that fits, by halving.
    int32_t low = box.rect.bottom;  // too short
    int32_t high = limit;           // fits
    while (high - low > 1) {
        const int32_t middle = low + (high - low) / 2;
        if (fitsAtHeight(measure.dc, box, callout, middle - box.rect.top))
            high = middle;
        else
            low = middle;
    }
    return high;
}

}  // namespace quib

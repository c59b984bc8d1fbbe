#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "raster/draw_context.h"
#include "shapes/shape.h"

namespace quib {

// A named drawing laid round a text box: shapes[0] is the text field (its bounds hold the text and
// it is never drawn), the others are drawn in order; textColour is used when the caller's text
// colour is not set.
class Callout {
public:
    Callout() = default;
    Callout(const Callout& other) { CopyFrom(other); }
    Callout& operator=(const Callout& other) {
        if (this != &other)
            CopyFrom(other);
        return *this;
    }
    Callout(Callout&&) noexcept = default;
    Callout& operator=(Callout&&) noexcept = default;

    // Clones every shape of source and updates the clones at time 0.
    void CopyFrom(const Callout& source);
    void ClearShapes() { shapes.clear(); }

    // The rectangle the text goes into for a box of w x h pixels placed at (0, 0).
    Rect TextRect(int w, int h) const;

    // Draws the shapes into box and the text (or, when text is nothing, the placeholder) into the
    // text field, in dc's font and text colour, or in textColour when dc's reads back as not set
    // (dc keeps that colour afterwards). Returns textColour.
    uint32_t DrawCallout(raster::DrawContext& dc, const Rect& box, std::optional<std::string_view> text,
                         uint32_t align) const;

    std::string name;
    uint32_t textColour = 0;
    std::vector<std::unique_ptr<Shape>> shapes;
};

}  // namespace quib

#include "shapes/callout.h"

#include "base/strings.h"
#include "shapes/wrapped_text.h"

namespace quib {

void Callout::CopyFrom(const Callout& source) {
    std::vector<std::unique_ptr<Shape>> copies;
    copies.reserve(source.shapes.size());
    for (const auto& shape : source.shapes) {
        copies.push_back(shape->Clone());
        copies.back()->Update(0, false);
    }
    name = source.name;
    textColour = source.textColour;
    shapes = std::move(copies);
}

Rect Callout::TextRect(int w, int h) const {
    Rect r{0, 0, w, h};
    if (!shapes.empty()) {
        r = shapes[0]->GetBounds(w, h);
        r = Rect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    }
    return Rect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

uint32_t Callout::DrawCallout(raster::DrawContext& dc, const Rect& box, std::optional<std::string_view> text,
                              uint32_t align) const {
    const int w = box.width();
    const int h = box.height();
    // Shapes and text are laid out for a box at (0, 0); the origin moves them to the box.
    const Point oldOrigin = dc.setOrigin(Point{dc.origin().x + box.left, dc.origin().y + box.top});
    for (size_t i = 1; i < shapes.size(); ++i) {
        const Shape& shape = *shapes[i];
        const raster::Pen pen{raster::PenStyle(shape.penStyle), shape.penWidth, shape.colour};
        shape.Draw(dc, w, h, false, pen, raster::Pen::none(), raster::Pen::none(), -1);
    }
    const Rect textRect = TextRect(w, h);
    const raster::BackgroundMode oldMode = dc.setBackgroundMode(raster::BackgroundMode::Transparent);
    if (dc.textColour() == raster::kInvalidColour)
        dc.setTextColour(textColour);
    DrawWrappedText(dc, text ? *text : std::string_view(stringText(str::TextPlaceholder)), textRect, align);
    dc.setBackgroundMode(oldMode);
    dc.setOrigin(oldOrigin);
    return textColour;
}

}  // namespace quib

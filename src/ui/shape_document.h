#pragma once

#include <memory>
#include <vector>

#include "raster/draw_context.h"
#include "shapes/shape.h"
#include "shapes/shape_building.h"
#include "shapes/shape_edit_history.h"

namespace quib {

// What the shape editor edits: an ordered list of shapes with its undo history, and the host's
// drawing around them.
class ShapeDocument {
public:
    virtual ~ShapeDocument() = default;

    virtual void SetModified(bool modified) = 0;
    virtual std::vector<std::unique_ptr<Shape>>& shapes() = 0;
    virtual ShapeEditHistory& history() = 0;
    // Colour, width and style given to new shapes and fills.
    virtual ShapePen newShapePen() const = 0;
    // False while there is nothing to edit; the editor then ignores the mouse.
    virtual bool canEditShapes() const = 0;

    virtual void DrawBackground(raster::DrawContext& dc) = 0;
    virtual void DrawOverlay(raster::DrawContext& dc) = 0;
    // The shapes as they will look in output, shown while the fill tool is active.
    virtual void DrawOutputPreview(raster::DrawContext& dc) = 0;

    // Told after every change of the shapes or of their selection.
    virtual void shapesChanged() = 0;
};

}  // namespace quib

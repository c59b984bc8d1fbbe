#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shapes/shape.h"
#include "shapes/shape_factory.h"

namespace quib {

// Clipboard name of copied shapes.
inline constexpr const char* kShapesFormatMime =
    "application/x-qt-windows-mime;value=\"Corvander Shapes Format\"";

// Copied shapes: u32 timeline length of the source, f64 x and y of the drag origin (0 for a copy),
// u32 count, then each shape (u32 type + body).
struct ShapeClipboard {
    uint32_t timelineLength = 1;
    PointD origin;
    std::vector<std::unique_ptr<Shape>> shapes;
};

// The selected shapes in list order.
std::vector<uint8_t> writeShapeClipboard(const std::vector<std::unique_ptr<Shape>>& shapes,
                                         uint32_t timelineLength, PointD origin = {});
// Reading stops at the first shape that cannot be read; the shapes before it are kept. Keyframe
// times are rescaled to a timeline of timelineLength, and every shape is updated at time 0.
ShapeClipboard readShapeClipboard(const uint8_t* data, size_t size, uint32_t timelineLength,
                                  const ShapeFactory& factory = ShapeFactory::instance());

}  // namespace quib

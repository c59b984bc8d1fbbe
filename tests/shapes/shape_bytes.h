#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/byte_stream.h"
#include "shapes/shape_edit_history.h"
#include "shapes/shape_factory.h"
#include "support/bytes_and_pictures.h"

namespace quib::testing {

// A shape of the given kind through the given points.
template <typename S>
std::unique_ptr<S> shapeOf(std::vector<PointD> points, bool closed = false) {
    auto shape = std::make_unique<S>();
    shape->closed = closed;
    shape->SetPoints(points);
    return shape;
}

// One shape as a stream stores it: its type, then its body.
inline std::vector<uint8_t> bytesOf(const Shape& shape) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    writeShape(out, shape);
    return bytes;
}

// The shapes as the library file stores them, to compare states byte for byte.
inline std::vector<uint8_t> bytesOf(const ShapeEditHistory::Shapes& shapes) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    for (const auto& shape : shapes)
        writeShape(out, *shape);
    return bytes;
}

}  // namespace quib::testing

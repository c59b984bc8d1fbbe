#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/byte_stream.h"
#include "shapes/shape_edit_history.h"
#include "shapes/shape_factory.h"

namespace quib::testing {

// A shape of the given kind through the given points.
template <typename S>
std::unique_ptr<S> shapeOf(std::vector<PointD> points, bool closed = false) {
    auto shape = std::make_unique<S>();
    shape->closed = closed;
    shape->SetPoints(points);
    return shape;
}

// Appends little-endian values as the stream layout lists them.
struct Bytes {
    std::vector<uint8_t> data;
    Bytes& u8(uint8_t v) {
        data.push_back(v);
        return *this;
    }
    Bytes& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    Bytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            data.push_back(uint8_t(bits >> (8 * i)));
        return *this;
    }
    Bytes& text(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
};

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

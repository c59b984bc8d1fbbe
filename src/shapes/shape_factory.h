#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/byte_stream.h"
#include "shapes/shape.h"

namespace quib {

// One prototype per shape type; streams name a type and the factory makes the shape.
class ShapeFactory {
public:
    // The application-wide factory, holding the polygon, curve and fill prototypes.
    static ShapeFactory& instance();

    // Adds a prototype; one whose type is already registered is discarded. Returns whether it was kept.
    bool Register(std::unique_ptr<Shape> prototype);
    // A new shape of the type, or null for an unknown type.
    std::unique_ptr<Shape> Create(uint32_t type) const;
    size_t size() const { return m_prototypes.size(); }

private:
    std::vector<std::unique_ptr<Shape>> m_prototypes;
};

// The stream form of a shape inside any file: u32 type, then the body.
void writeShape(ByteWriter& out, const Shape& shape);
// Reads a shape (not yet updated); an unknown type is a FormatError.
std::unique_ptr<Shape> readShape(ByteReader& in, const ShapeFactory& factory = ShapeFactory::instance());

}  // namespace quib

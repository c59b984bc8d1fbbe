#include "shapes/shape_factory.h"

#include <string>

#include "shapes/curve_shape.h"
#include "shapes/fill_shape.h"
#include "shapes/polygon_shape.h"

namespace quib {

ShapeFactory& ShapeFactory::instance() {
    static ShapeFactory factory = [] {
        ShapeFactory f;
        f.Register(std::make_unique<PolygonShape>());
        f.Register(std::make_unique<CurveShape>());
        f.Register(std::make_unique<FillShape>());
        return f;
    }();
    return factory;
}

bool ShapeFactory::Register(std::unique_ptr<Shape> prototype) {
    if (!prototype)
        return false;
    for (const auto& p : m_prototypes)
        if (p->type() == prototype->type())
            return false;
    m_prototypes.push_back(std::move(prototype));
    return true;
}

std::unique_ptr<Shape> ShapeFactory::Create(uint32_t type) const {
    for (const auto& p : m_prototypes)
        if (uint32_t(p->type()) == type)
            return p->Clone();
    return nullptr;
}

void writeShape(ByteWriter& out, const Shape& shape) {
    out.u32(uint32_t(shape.type()));
    shape.Write(out);
}

std::unique_ptr<Shape> readShape(ByteReader& in, const ShapeFactory& factory) {
    const uint32_t type = in.u32();
    std::unique_ptr<Shape> shape = factory.Create(type);
    if (!shape)
        throw FormatError("unknown shape type " + std::to_string(type));
    shape->Read(in);
    return shape;
}

}  // namespace quib

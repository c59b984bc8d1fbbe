#include "shapes/shape_clipboard.h"

#include <cmath>

namespace quib {

std::vector<uint8_t> writeShapeClipboard(const std::vector<std::unique_ptr<Shape>>& shapes,
                                         uint32_t timelineLength, PointD origin) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.u32(timelineLength);
    writeDouble(out, origin.x);
    writeDouble(out, origin.y);
    uint32_t count = 0;
    for (const auto& shape : shapes)
        count += shape->selected;
    out.u32(count);
    for (const auto& shape : shapes)
        if (shape->selected)
            writeShape(out, *shape);
    return bytes;
}

ShapeClipboard readShapeClipboard(const uint8_t* data, size_t size, uint32_t timelineLength,
                                  const ShapeFactory& factory) {
    ShapeClipboard clip;
    ByteReader in(data, size);
    uint32_t count = 0;
    try {
        clip.timelineLength = in.u32();
        clip.origin.x = readFinite(in);
        clip.origin.y = readFinite(in);
        count = in.u32();
    } catch (const FormatError&) {
        return clip;
    }
    const double last = timelineLength > 0 ? double(timelineLength - 1) : 0.0;
    for (uint32_t i = 0; i < count && in.remaining() > 0; ++i) {
        std::unique_ptr<Shape> shape;
        try {
            shape = readShape(in, factory);
        } catch (const FormatError&) {
            break;
        }
        for (double& t : shape->keyframeTimes) {
            if (clip.timelineLength == 0)
                t = 0;
            else if (clip.timelineLength == 1)
                t = t * last;
            else
                t = t * last / double(clip.timelineLength - 1);
            if (t >= double(timelineLength))
                t = last;
        }
        shape->Update(0, false);
        clip.shapes.push_back(std::move(shape));
    }
    return clip;
}

}  // namespace quib

#include "shape_decoder.h"

#include "base/byte_stream.h"
#include "swf_records.h"

namespace quib::player {

namespace {

struct PathBuilder {
    Path path;
    PointF last;
    bool started = false;

    void lineTo(PointF from, PointF to) {
        start(from);
        path.lineTo(to);
        last = to;
    }
    void quadTo(PointF from, PointF control, PointF to) {
        start(from);
        path.quadTo(control, to);
        last = to;
    }

private:
    void start(PointF from) {
        if (!started || last != from)
            path.moveTo(from);
        started = true;
    }
};

Rgba readColor(SwfBitReader& in, int shapeVersion) {
    return shapeVersion >= 3 ? readRgba(in) : readRgb(in);
}

size_t readStyleCount(SwfBitReader& in, int shapeVersion) {
    size_t count = in.u8();
    if (count == 0xFF && shapeVersion >= 2)
        count = in.u16();
    return count;
}

FillStyle readFillStyle(SwfBitReader& in, int shapeVersion) {
    FillStyle style;
    uint8_t type = in.u8();
    switch (type) {
        case 0x00:
            style.kind = FillKind::Solid;
            style.color = readColor(in, shapeVersion);
            break;
        case 0x10:
        case 0x12:
        case 0x13: {
            style.kind = type == 0x10 ? FillKind::LinearGradient : FillKind::RadialGradient;
            style.matrix = readMatrix(in);
            int count = in.u8() & 0x0F;
            for (int i = 0; i < count; ++i) {
                GradientStop stop;
                stop.position = in.u8() / 255.0;
                stop.color = readColor(in, shapeVersion);
                style.stops.push_back(stop);
            }
            if (type == 0x13)
                in.u16();
            break;
        }
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43:
            style.kind = (type & 1) ? FillKind::ClippedBitmap : FillKind::RepeatingBitmap;
            style.bitmapId = in.u16();
            style.matrix = readMatrix(in);
            break;
        default:
            throw FormatError("stile di riempimento sconosciuto " + std::to_string(type));
    }
    return style;
}

void readStyles(SwfBitReader& in, int shapeVersion, std::vector<FillStyle>& fills,
                std::vector<LineStyle>& lines) {
    size_t fillCount = readStyleCount(in, shapeVersion);
    for (size_t i = 0; i < fillCount; ++i)
        fills.push_back(readFillStyle(in, shapeVersion));
    size_t lineCount = readStyleCount(in, shapeVersion);
    for (size_t i = 0; i < lineCount; ++i) {
        LineStyle line;
        line.width = in.u16();
        line.color = readColor(in, shapeVersion);
        lines.push_back(line);
    }
}

}  // namespace

uint16_t decodeShape(SwfBitReader& in, int shapeVersion, ShapeCharacter& out) {
    uint16_t id = in.u16();
    out.bounds = readRect(in);

    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    readStyles(in, shapeVersion, fills, lines);
    int fillBits = int(in.bits(4));
    int lineBits = int(in.bits(4));

    // Style indices count from 1 within the most recent style arrays; base maps them to ours.
    size_t fillBase = 0, lineBase = 0;
    std::vector<PathBuilder> fillPaths(fills.size()), linePaths(lines.size());
    size_t fill0 = 0, fill1 = 0, line = 0;  // absolute index + 1, 0 for none
    PointF pen;

    auto fillPath = [&](size_t index) -> PathBuilder* {
        return index > 0 && index <= fillPaths.size() ? &fillPaths[index - 1] : nullptr;
    };
    auto linePath = [&](size_t index) -> PathBuilder* {
        return index > 0 && index <= linePaths.size() ? &linePaths[index - 1] : nullptr;
    };
    auto withStyle = [](size_t base, uint32_t value) -> size_t { return value == 0 ? 0 : base + value; };

    for (;;) {
        if (in.bits(1) == 0) {
            uint32_t flags = in.bits(5);
            if (flags == 0)
                break;  // end of shape
            const bool newStyles = flags & 0x10, lineStyle = flags & 0x08, fillStyle1 = flags & 0x04,
                       fillStyle0 = flags & 0x02, moveTo = flags & 0x01;
            if (moveTo) {
                int n = int(in.bits(5));
                int x = in.signedBits(n);
                int y = in.signedBits(n);
                pen = PointF{double(x), double(y)};
            }
            if (fillStyle0)
                fill0 = withStyle(fillBase, in.bits(fillBits));
            if (fillStyle1)
                fill1 = withStyle(fillBase, in.bits(fillBits));
            if (lineStyle)
                line = withStyle(lineBase, in.bits(lineBits));
            if (newStyles && shapeVersion >= 2) {
                in.align();
                fillBase = fills.size();
                lineBase = lines.size();
                readStyles(in, shapeVersion, fills, lines);
                fillPaths.resize(fills.size());
                linePaths.resize(lines.size());
                fillBits = int(in.bits(4));
                lineBits = int(in.bits(4));
            }
            continue;
        }
        PointF from = pen;
        bool straight = in.bits(1);
        int n = int(in.bits(4)) + 2;
        if (straight) {
            int dx = 0, dy = 0;
            if (in.bits(1)) {
                dx = in.signedBits(n);
                dy = in.signedBits(n);
            } else if (in.bits(1)) {
                dy = in.signedBits(n);
            } else {
                dx = in.signedBits(n);
            }
            pen += PointF{double(dx), double(dy)};
            for (PathBuilder* p : {fillPath(fill0), fillPath(fill1), linePath(line)})
                if (p)
                    p->lineTo(from, pen);
        } else {
            int cdx = in.signedBits(n), cdy = in.signedBits(n);
            int adx = in.signedBits(n), ady = in.signedBits(n);
            PointF control = from + PointF{double(cdx), double(cdy)};
            pen = control + PointF{double(adx), double(ady)};
            for (PathBuilder* p : {fillPath(fill0), fillPath(fill1), linePath(line)})
                if (p)
                    p->quadTo(from, control, pen);
        }
    }
    in.align();

    for (size_t i = 0; i < fills.size(); ++i) {
        if (!fillPaths[i].started)
            continue;
        out.fills.push_back({fills[i], fillPaths[i].path});
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!linePaths[i].started)
            continue;
        out.lines.push_back({lines[i], linePaths[i].path});
    }
    return id;
}

}  // namespace quib::player

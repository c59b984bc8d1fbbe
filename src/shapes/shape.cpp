#include "shapes/shape.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/cp1252.h"

namespace quib {

namespace {

// Far enough outside any surface to be harmless, small enough for integer arithmetic after it.
constexpr double kPixelLimit = 1.0e7;

int clampToPixel(double v) {
    if (!(v == v))
        return 0;  // NaN
    return int(std::clamp(v, -kPixelLimit, kPixelLimit));
}

PointD toPixels(const PointD& p, int w, int h) {
    return PointD{p.x * w, p.y * h};
}

double distance(const PointD& a, const PointD& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Distance from p to segment ab, with the foot point.
double distanceToSegment(const PointD& p, const PointD& a, const PointD& b, PointD& foot) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    foot = PointD{a.x + dx * t, a.y + dy * t};
    return distance(p, foot);
}

void writeName(ByteWriter& out, const std::optional<std::string>& name) {
    if (!name) {
        out.u32(0);
        return;
    }
    std::string bytes = utf8ToCp1252(*name).value_or(*name);
    if (bytes.size() > kMaxShapeNameBytes) {
        // Keep the file readable: cut at a character boundary (UTF-8 continuation bytes are 10xxxxxx).
        size_t cut = kMaxShapeNameBytes;
        if (!utf8ToCp1252(*name))
            while (cut > 0 && (uint8_t(bytes[cut]) & 0xC0) == 0x80)
                --cut;
        bytes.resize(cut);
    }
    out.u32(uint32_t(bytes.size()));
    out.bytes(bytes);
}

std::string readName(ByteReader& in) {
    uint32_t length = in.u32();
    if (length > kMaxShapeNameBytes)
        throw FormatError("shape name longer than 259 bytes");
    std::string bytes(reinterpret_cast<const char*>(in.bytes(length)), length);
    // Names are written in code page 1252 when they fit and in UTF-8 otherwise.
    bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; });
    if (ascii)
        return bytes;
    return isValidUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
}

}  // namespace

double readFinite(ByteReader& in) {
    uint64_t bits = uint64_t(in.u32());
    bits |= uint64_t(in.u32()) << 32;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v))
        throw FormatError("shape holds a value that is not a finite number");
    return v;
}

void writeDouble(ByteWriter& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    out.u32(uint32_t(bits));
    out.u32(uint32_t(bits >> 32));
}

int pixelRound(double v, int size) {
    return clampToPixel(std::floor(v * size + 0.5));
}

int pixelTrunc(double v, int size) {
    return clampToPixel(std::trunc(v * size));
}

void Shape::SetPoints(const std::vector<PointD>& points) {
    pointCount = int32_t(points.size());
    keyframeTimes = {0.0};
    keyframePoints = points;
    Update(0, false);
}

void Shape::Write(ByteWriter& out) const {
    writeName(out, name);
    out.i32(pointCount);
    out.u32(colour);
    out.i32(penWidth);
    out.i32(penStyle);
    out.i32(keyframeCount());
    out.u32(closed ? 1 : 0);
    out.u32(permanent ? 1 : 0);
    for (double t : keyframeTimes)
        writeDouble(out, t);
    for (const PointD& p : keyframePoints) {
        writeDouble(out, p.x);
        writeDouble(out, p.y);
    }
}

void Shape::Read(ByteReader& in) {
    std::string newName = readName(in);
    int32_t newPointCount = in.i32();
    uint32_t newColour = in.u32();
    int32_t newPenWidth = in.i32();
    int32_t newPenStyle = in.i32();
    int32_t newKeyframeCount = in.i32();
    bool newClosed = in.u32() != 0;
    bool newPermanent = in.u32() != 0;
    if (newPointCount < 0 || newKeyframeCount < 0)
        throw FormatError("negative point or keyframe count");
    // Counts come from the file: check them against the bytes that remain before allocating.
    if (uint64_t(newKeyframeCount) > in.remaining() / 8)
        throw FormatError("keyframe count exceeds the data");
    const size_t timesBytes = size_t(newKeyframeCount) * 8;
    if (newKeyframeCount > 0 &&
        uint64_t(newPointCount) > (in.remaining() - timesBytes) / 16 / uint64_t(newKeyframeCount))
        throw FormatError("point count exceeds the data");
    std::vector<double> times(static_cast<size_t>(newKeyframeCount));
    for (double& t : times)
        t = readFinite(in);
    std::vector<PointD> points(size_t(newKeyframeCount) * size_t(newPointCount));
    for (PointD& p : points) {
        p.x = readFinite(in);
        p.y = readFinite(in);
    }
    name = std::move(newName);
    pointCount = newPointCount;
    colour = newColour;
    penWidth = newPenWidth;
    penStyle = newPenStyle;
    closed = newClosed;
    permanent = newPermanent;
    keyframeTimes = std::move(times);
    keyframePoints = std::move(points);
    current.clear();
    outline.clear();
}

Rect Shape::GetBounds(int w, int h) const {
    int minX = 100000, minY = 100000, maxX = -100000, maxY = -100000;
    auto take = [&](const PointD& p) {
        int x = pixelTrunc(p.x, w);
        int y = pixelTrunc(p.y, h);
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    };
    for (const PointD& p : outline)
        take(p);
    for (const PointD& p : current)
        take(p);
    return Rect{minX - 2, minY - 2, maxX + 3, maxY + 3};
}

Range Shape::GetXRange() const {
    Range r{100000, -100000};
    for (const PointD& p : current)
        r.min = std::min(r.min, p.x), r.max = std::max(r.max, p.x);
    return r;
}

Range Shape::GetYRange() const {
    Range r{100000, -100000};
    for (const PointD& p : current)
        r.min = std::min(r.min, p.y), r.max = std::max(r.max, p.y);
    return r;
}

PointD Shape::GetCenter() const {
    if (current.empty())
        return PointD{};
    Range x = GetXRange();
    Range y = GetYRange();
    return PointD{(x.min + x.max) / 2, (y.min + y.max) / 2};
}

double Shape::LocateOnOutline(double px, double py, int w, int h, double& fraction, PointD& foot) const {
    double best = 1000000;
    if (outline.size() < 2)
        return best;
    const PointD p{px, py};
    double before = 0;
    double bestBefore = 0;
    double bestAlong = 0;
    for (size_t i = 0; i + 1 < outline.size(); ++i) {
        PointD a = toPixels(outline[i], w, h);
        PointD b = toPixels(outline[i + 1], w, h);
        PointD f;
        double d = distanceToSegment(p, a, b, f);
        if (d < best) {
            best = d;
            foot = f;
            bestBefore = before;
            bestAlong = distance(a, f);
        }
        before += distance(a, b);
    }
    fraction = before > 0 ? (bestBefore + bestAlong) / before : 0;
    return best;
}

double Shape::DistanceToOutline(double px, double py, int w, int h) const {
    double fraction;
    PointD foot;
    return LocateOnOutline(px, py, w, h, fraction, foot);
}

void Shape::Update(int time, bool keepCurrent) {
    const int k = keyframeCount();
    if (k >= 1 && !keepCurrent && pointCount >= 0 &&
        keyframePoints.size() == size_t(k) * size_t(pointCount)) {
        int i = 0;
        while (i < k && std::trunc(keyframeTimes[size_t(i)]) < time)
            ++i;
        current.resize(size_t(pointCount));
        if (i == k || i == 0) {
            int from = i == k ? k - 1 : 0;
            for (int j = 0; j < pointCount; ++j)
                current[size_t(j)] = keyframePoint(from, j);
        } else {
            const double t0 = keyframeTimes[size_t(i - 1)];
            const double t1 = keyframeTimes[size_t(i)];
            const double r = (time == t0 || t1 == t0) ? 0.0 : (time - t0) / (t1 - t0);
            for (int j = 0; j < pointCount; ++j) {
                const PointD& a = keyframePoint(i - 1, j);
                const PointD& b = keyframePoint(i, j);
                current[size_t(j)] = PointD{a.x + (b.x - a.x) * r, a.y + (b.y - a.y) * r};
            }
        }
    }
    rebuildOutline();
}

void Shape::NearestPoint(double x, double y, int w, int h, double& distanceSquared, int& index,
                         int selectedIndex) const {
    for (size_t i = 0; i < current.size(); ++i) {
        if (!isNearestPointCandidate(int(i), selectedIndex))
            continue;
        const double dx = (current[i].x - x) * w;
        const double dy = (current[i].y - y) * h;
        const double d2 = dx * dx + dy * dy;
        if (d2 < distanceSquared) {
            distanceSquared = d2;
            index = int(i);
        }
    }
}

void Shape::CloneInto(Shape& target) const {
    target.name = name;
    target.pointCount = pointCount;
    target.keyframeTimes = keyframeTimes;
    target.keyframePoints = keyframePoints;
    target.selected = selected;
    target.closed = closed;
    target.colour = colour;
    target.penWidth = penWidth;
    target.penStyle = penStyle;
    target.permanent = permanent;
    target.outline.clear();
    target.current.clear();
}

void Shape::DrawBlinkMarker(int index, raster::DrawContext& dc, int w, int h, int tick) const {
    if (tick % 20 != 10 || index < 0 || size_t(index) >= current.size())
        return;
    const int x = pixelTrunc(current[size_t(index)].x, w);
    const int y = pixelTrunc(current[size_t(index)].y, h);
    const raster::Pen oldPen = dc.setPen(raster::Pen::solid(0));
    const raster::Brush oldBrush = dc.setBrush(raster::Brush::hollowBrush());
    const raster::RasterMode oldMode = dc.setRasterMode(raster::RasterMode::NotXor);
    auto square = [&](int half) { dc.rectangle(Rect{x - half, y - half, x + half, y + half}); };
    square(3 + 2);
    dc.setRasterMode(raster::RasterMode::Copy);
    square(3 + 3);
    square(3 + 1);
    dc.setRasterMode(oldMode);
    dc.setBrush(oldBrush);
    dc.setPen(oldPen);
}

int Shape::KeyframeIndex(int time) const {
    for (int i = 0; i < keyframeCount(); ++i)
        if (std::trunc(keyframeTimes[size_t(i)]) == time)
            return i;
    return -1;
}

bool Shape::AddKeyframe(int time) {
    if (HasKeyframe(time))
        return true;
    const int k = keyframeCount();
    int at = 0;
    while (at < k && keyframeTimes[size_t(at)] < time)
        ++at;
    std::vector<PointD> points(static_cast<size_t>(pointCount));
    if (k == 0) {
        for (int j = 0; j < pointCount && size_t(j) < current.size(); ++j)
            points[size_t(j)] = current[size_t(j)];
    } else if (at == 0 || at == k) {
        const int from = at == 0 ? 0 : k - 1;
        for (int j = 0; j < pointCount; ++j)
            points[size_t(j)] = keyframePoint(from, j);
    } else {
        const double t0 = keyframeTimes[size_t(at - 1)];
        const double t1 = keyframeTimes[size_t(at)];
        const double r = t1 == t0 ? 0.0 : (time - t0) / (t1 - t0);
        for (int j = 0; j < pointCount; ++j) {
            const PointD& a = keyframePoint(at - 1, j);
            const PointD& b = keyframePoint(at, j);
            points[size_t(j)] = PointD{a.x + (b.x - a.x) * r, a.y + (b.y - a.y) * r};
        }
    }
    keyframeTimes.insert(keyframeTimes.begin() + at, double(time));
    keyframePoints.insert(keyframePoints.begin() + ptrdiff_t(size_t(at) * size_t(pointCount)), points.begin(),
                          points.end());
    return true;
}

bool Shape::DeleteKeyframe(int time) {
    const int i = KeyframeIndex(time);
    if (i < 0)
        return false;
    keyframeTimes.erase(keyframeTimes.begin() + i);
    auto first = keyframePoints.begin() + ptrdiff_t(size_t(i) * size_t(pointCount));
    keyframePoints.erase(first, first + pointCount);
    return true;
}

void Shape::Flip(double lo, double hi) {
    for (PointD& p : keyframePoints)
        p.y = lo + hi - p.y;
}

void Shape::Mirror(double lo, double hi) {
    for (PointD& p : keyframePoints)
        p.x = lo + hi - p.x;
}

void Shape::removePoints(int first, int count) {
    std::vector<PointD> points;
    points.reserve(size_t(keyframeCount()) * size_t(pointCount - count));
    for (int k = 0; k < keyframeCount(); ++k)
        for (int j = 0; j < pointCount; ++j)
            if (j < first || j >= first + count)
                points.push_back(keyframePoint(k, j));
    keyframePoints = std::move(points);
    pointCount -= count;
}

double Shape::polylineLength(const std::vector<PointD>& line, int w, int h) {
    double length = 0;
    for (size_t i = 0; i + 1 < line.size(); ++i)
        length += distance(toPixels(line[i], w, h), toPixels(line[i + 1], w, h));
    return length;
}

std::vector<PointD> Shape::samplePolyline(const std::vector<PointD>& line,
                                          const std::vector<double>& fractions, double length, int w, int h) {
    std::vector<PointD> out(fractions.size());
    if (line.empty() || fractions.empty())
        return out;
    out.front() = line.front();
    size_t segment = 0;
    double before = 0;  // pixel length of the segments before `segment`
    for (size_t j = 1; j < fractions.size(); ++j) {
        out[j] = line.back();
        if (j + 1 == fractions.size())
            break;
        const double target = (fractions[j] - fractions[0]) * length;
        while (segment + 1 < line.size()) {
            const PointD a = toPixels(line[segment], w, h);
            const PointD b = toPixels(line[segment + 1], w, h);
            const double d = distance(a, b);
            if (before + d >= target) {
                const double r = d > 0 ? (target - before) / d : 0;
                out[j] = PointD{line[segment].x + (line[segment + 1].x - line[segment].x) * r,
                                line[segment].y + (line[segment + 1].y - line[segment].y) * r};
                break;
            }
            before += d;
            ++segment;
        }
    }
    return out;
}

}  // namespace quib

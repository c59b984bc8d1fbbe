#include "stage_renderer.h"

#include <algorithm>
#include <cmath>

#include "span_filler.h"

namespace quib::player {

namespace {

// Gradients are defined on a square of 32768 units centred on the origin.
constexpr double GradientHalfSize = 16384.0;

Pixel gradientColor(const std::vector<GradientStop>& stops, double t) {
    if (stops.empty())
        return 0;
    t = std::clamp(t, 0.0, 1.0);
    if (t <= stops.front().position)
        return premultiplied(stops.front().color);
    for (size_t i = 1; i < stops.size(); ++i) {
        const GradientStop& a = stops[i - 1];
        const GradientStop& b = stops[i];
        if (t > b.position)
            continue;
        const double span = b.position - a.position;
        const double f = span > 0 ? (t - a.position) / span : 1.0;
        auto mix = [f](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * f)); };
        return premultiplied({mix(a.color.r, b.color.r), mix(a.color.g, b.color.g), mix(a.color.b, b.color.b),
                              mix(a.color.a, b.color.a)});
    }
    return premultiplied(stops.back().color);
}

int wrap(int v, int n) {
    const int m = v % n;
    return m < 0 ? m + n : m;
}

// The picture's pixel at (x, y) in its own pixels, weighed from the four around it; outside
// the picture nothing unless repeating.
Pixel smoothSample(const Picture& image, double x, double y, bool repeat) {
    x -= 0.5, y -= 0.5;
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = int(fx), y0 = int(fy);
    const double wx = x - fx, wy = y - fy;
    double sum[4] = {0, 0, 0, 0};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            int px = x0 + i, py = y0 + j;
            if (repeat) {
                px = wrap(px, image.width), py = wrap(py, image.height);
            } else {
                px = std::clamp(px, 0, image.width - 1), py = std::clamp(py, 0, image.height - 1);
            }
            const double w = (i ? wx : 1 - wx) * (j ? wy : 1 - wy);
            const Pixel p = image.pixel(px, py);
            for (int c = 0; c < 4; ++c)
                sum[c] += w * ((p >> (8 * c)) & 0xFF);
        }
    }
    Pixel out = 0;
    for (int c = 0; c < 4; ++c)
        out |= Pixel(std::clamp(int(std::lround(sum[c])), 0, 255)) << (8 * c);
    return out;
}

class Renderer {
public:
    Renderer(const MovieData& movie, Picture& target, bool smooth)
        : m_movie(movie), m_target(target), m_smooth(smooth) {}

    void drawCharacter(uint16_t id, const Transform& toImage, int nesting = 0) {
        const Character* character = m_movie.character(id);
        if (!character)
            return;
        if (const auto* shape = std::get_if<ShapeCharacter>(character)) {
            drawShape(*shape, toImage);
        } else if (const auto* button = std::get_if<ButtonCharacter>(character)) {
            // A button shows its up state; buttons nested in buttons are not followed further.
            if (nesting > 0)
                return;
            std::vector<const ButtonRecord*> up;
            for (const ButtonRecord& r : button->records)
                if (r.up)
                    up.push_back(&r);
            std::stable_sort(up.begin(), up.end(), [](const ButtonRecord* a, const ButtonRecord* b) {
                return a->depth < b->depth;
            });
            for (const ButtonRecord* r : up)
                drawCharacter(r->characterId, r->matrix * toImage, nesting + 1);
        }
    }

private:
    template <typename Source>
    void fill(const Path& path, const Transform& toImage, Source source) {
        fillSpans(path.flattened(toImage), m_target.width, m_target.height, [&](int y, int x0, int x1) {
            Pixel* row = m_target.row(y);
            for (int x = x0; x < x1; ++x)
                if (std::optional<Pixel> p = source(x, y))
                    row[x] = blendOver(*p, row[x]);
        });
    }

    void drawShape(const ShapeCharacter& shape, const Transform& toImage) {
        for (const ShapeCharacter::Fill& fillPart : shape.fills) {
            const FillStyle& style = fillPart.style;
            switch (style.kind) {
                case FillKind::Solid: {
                    const Pixel color = premultiplied(style.color);
                    fill(fillPart.path, toImage, [color](int, int) { return std::optional<Pixel>(color); });
                    break;
                }
                case FillKind::LinearGradient:
                case FillKind::RadialGradient:
                    drawGradientFill(fillPart, toImage);
                    break;
                case FillKind::ClippedBitmap:
                case FillKind::RepeatingBitmap:
                    drawBitmapFill(fillPart, toImage);
                    break;
            }
        }
        for (const ShapeCharacter::Line& line : shape.lines)
            drawLine(line, toImage);
    }

    void drawGradientFill(const ShapeCharacter::Fill& part, const Transform& toImage) {
        bool invertible = false;
        const Transform toGradient = (part.style.matrix * toImage).inverted(&invertible);
        if (!invertible)
            return;
        const bool linear = part.style.kind == FillKind::LinearGradient;
        const auto& stops = part.style.stops;
        fill(part.path, toImage, [&](int x, int y) {
            const PointF g = toGradient.map({x + 0.5, y + 0.5});
            const double t = linear ? (g.x + GradientHalfSize) / (2 * GradientHalfSize)
                                    : std::sqrt(g.x * g.x + g.y * g.y) / GradientHalfSize;
            return std::optional<Pixel>(gradientColor(stops, t));
        });
    }

    void drawBitmapFill(const ShapeCharacter::Fill& part, const Transform& toImage) {
        const auto* bitmap = std::get_if<BitmapCharacter>(m_movie.character(part.style.bitmapId));
        if (!bitmap || bitmap->image.isNull())
            return;
        bool invertible = false;
        const Transform toBitmap = (part.style.matrix * toImage).inverted(&invertible);
        if (!invertible)
            return;
        const Picture& image = bitmap->image;
        const bool repeat = part.style.kind == FillKind::RepeatingBitmap;
        fill(part.path, toImage, [&](int x, int y) -> std::optional<Pixel> {
            const PointF b = toBitmap.map({x + 0.5, y + 0.5});
            if (!repeat && !(b.x >= 0 && b.y >= 0 && b.x < image.width && b.y < image.height))
                return std::nullopt;
            if (m_smooth)
                return smoothSample(image, b.x, b.y, repeat);
            if (!std::isfinite(b.x) || !std::isfinite(b.y) || std::fabs(b.x) > 1e9 || std::fabs(b.y) > 1e9)
                return std::nullopt;
            return image.pixel(wrap(int(std::floor(b.x)), image.width),
                               wrap(int(std::floor(b.y)), image.height));
        });
    }

    // A line of its width with round ends and joins: every pixel whose centre lies within half
    // the width of one of its pieces, painted once.
    void drawLine(const ShapeCharacter::Line& line, const Transform& toImage) {
        const double scale = std::sqrt(std::fabs(toImage.determinant()));
        const double half = std::max(1, line.style.width) * scale / 2;
        if (!std::isfinite(half))
            return;
        const Pixel color = premultiplied(line.style.color);
        const std::vector<Polygon> outlines = line.path.flattened(toImage);
        double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
        for (const Polygon& p : outlines)
            for (PointF q : p)
                left = std::min(left, q.x), right = std::max(right, q.x), top = std::min(top, q.y),
                bottom = std::max(bottom, q.y);
        const int x0 = std::max(0, int(std::floor(std::max(left - half, -1.0))));
        const int y0 = std::max(0, int(std::floor(std::max(top - half, -1.0))));
        const int x1 = int(std::min<double>(m_target.width, std::ceil(right + half)));
        const int y1 = int(std::min<double>(m_target.height, std::ceil(bottom + half)));
        for (int y = y0; y < y1; ++y) {
            Pixel* row = m_target.row(y);
            for (int x = x0; x < x1; ++x) {
                const PointF c{x + 0.5, y + 0.5};
                if (nearOutline(outlines, c, half))
                    row[x] = blendOver(color, row[x]);
            }
        }
    }

    static bool nearOutline(const std::vector<Polygon>& outlines, PointF c, double half) {
        for (const Polygon& p : outlines) {
            for (size_t i = 0; i < p.size(); ++i) {
                const PointF a = p[i], b = p[i + 1 < p.size() ? i + 1 : i];
                const double vx = b.x - a.x, vy = b.y - a.y;
                const double length2 = vx * vx + vy * vy;
                double t = length2 > 0 ? ((c.x - a.x) * vx + (c.y - a.y) * vy) / length2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                const double dx = a.x + t * vx - c.x, dy = a.y + t * vy - c.y;
                if (dx * dx + dy * dy <= half * half)
                    return true;
            }
        }
        return false;
    }

    const MovieData& m_movie;
    Picture& m_target;
    bool m_smooth;
};

}  // namespace

void renderStage(const MovieData& movie, const Stage& stage, Picture& picture) {
    if (picture.isNull())
        return;
    std::fill(picture.pixels.begin(), picture.pixels.end(), premultiplied(stage.background()) | 0xFF000000u);

    const RectF frame = movie.frameRect;
    const Size natural = movie.stageSize();
    const bool oneToOne = picture.width == natural.cx && picture.height == natural.cy;
    // At the natural size the scale is exactly one pixel per twenty twips, so that pictures placed
    // on whole pixels land on whole pixels; pictures are smoothed only when the movie is scaled.
    const double sx = oneToOne ? 1.0 / TwipsPerPixel : picture.width / frame.width();
    const double sy = oneToOne ? 1.0 / TwipsPerPixel : picture.height / frame.height();
    const Transform view = Transform::translation(-frame.left, -frame.top) * Transform::scaling(sx, sy);

    Renderer renderer(movie, picture, !oneToOne);
    for (const auto& [depth, object] : stage.objects())
        renderer.drawCharacter(object.characterId, object.matrix * view);
}

}  // namespace quib::player

#include "stage_renderer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace quib::player {

namespace {

// Gradients are defined on a square of 32768 units centred on the origin.
constexpr double GradientHalfSize = 16384.0;

QBrush gradientBrush(const FillStyle& style) {
    QGradientStops stops;
    for (const GradientStop& s : style.stops)
        stops.append({s.position, s.color});
    QGradient gradient;
    if (style.kind == FillKind::LinearGradient)
        gradient = QLinearGradient(-GradientHalfSize, 0, GradientHalfSize, 0);
    else
        gradient = QRadialGradient(0, 0, GradientHalfSize);
    gradient.setStops(stops);
    QBrush brush(gradient);
    brush.setTransform(style.matrix);
    return brush;
}

class Renderer {
public:
    Renderer(const MovieData& movie, QPainter& painter) : m_movie(movie), m_painter(painter) {}

    void drawCharacter(uint16_t id, const QTransform& toImage, int nesting = 0) {
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
    void drawShape(const ShapeCharacter& shape, const QTransform& toImage) {
        for (const ShapeCharacter::Fill& fill : shape.fills) {
            m_painter.save();
            m_painter.setTransform(toImage);
            const FillStyle& style = fill.style;
            switch (style.kind) {
                case FillKind::Solid:
                    m_painter.fillPath(fill.path, style.color);
                    break;
                case FillKind::LinearGradient:
                case FillKind::RadialGradient:
                    m_painter.fillPath(fill.path, gradientBrush(style));
                    break;
                case FillKind::ClippedBitmap:
                case FillKind::RepeatingBitmap:
                    drawBitmapFill(fill, toImage);
                    break;
            }
            m_painter.restore();
        }
        for (const ShapeCharacter::Line& line : shape.lines) {
            m_painter.save();
            m_painter.setTransform(toImage);
            QPen pen(line.style.color, std::max(1, line.style.width));
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            m_painter.strokePath(line.path, pen);
            m_painter.restore();
        }
    }

    void drawBitmapFill(const ShapeCharacter::Fill& fill, const QTransform& toImage) {
        const auto* bitmap = std::get_if<BitmapCharacter>(m_movie.character(fill.style.bitmapId));
        if (!bitmap || bitmap->image.isNull())
            return;
        if (fill.style.kind == FillKind::RepeatingBitmap) {
            QBrush brush(bitmap->image);
            brush.setTransform(fill.style.matrix);
            m_painter.fillPath(fill.path, brush);
            return;
        }
        m_painter.setClipPath(fill.path, Qt::IntersectClip);
        m_painter.setTransform(fill.style.matrix * toImage);
        m_painter.drawImage(QPointF(0, 0), bitmap->image);
    }

    const MovieData& m_movie;
    QPainter& m_painter;
};

}  // namespace

void renderStage(const MovieData& movie, const Stage& stage, QImage& image) {
    if (image.isNull())
        return;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), stage.background());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    const QRectF frame = movie.frameRect;
    const bool oneToOne = image.size() == movie.stageSize();
    // At the natural size the scale is exactly one pixel per twenty twips, so that pictures placed
    // on whole pixels land on whole pixels.
    const double sx = oneToOne ? 1.0 / TwipsPerPixel : image.width() / frame.width();
    const double sy = oneToOne ? 1.0 / TwipsPerPixel : image.height() / frame.height();
    // Edges stay aliased so that neighbouring pictures tile without seams; pictures are
    // smoothed only when the movie is scaled.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !oneToOne);
    const QTransform view =
        QTransform::fromTranslate(-frame.left(), -frame.top()) * QTransform::fromScale(sx, sy);

    Renderer renderer(movie, painter);
    for (const auto& [depth, object] : stage.objects())
        renderer.drawCharacter(object.characterId, object.matrix * view);
}

}  // namespace quib::player

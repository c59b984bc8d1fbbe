#include "raster/draw_context.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QString>
#include <algorithm>

#include "raster/flood_fill.h"
#include "raster/font_mapping.h"
#include "raster/gui_application.h"

namespace quib::raster {

QRgb rgbFromColour(uint32_t colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

uint32_t colourFromRgb(QRgb value) {
    return rgb(uint8_t(qRed(value)), uint8_t(qGreen(value)), uint8_t(qBlue(value)));
}

namespace {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QPen qtPen(const Pen& pen) {
    if (pen.style == PenStyle::Null)
        return QPen(Qt::NoPen);
    QPen result(QColor(rgbFromColour(pen.colour)));
    int width = pen.width < 1 ? 1 : pen.width;
    result.setWidth(width);
    result.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
    result.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    if (pen.style == PenStyle::Dash)
        result.setDashPattern({18, 6});
    if (pen.style == PenStyle::Dot)
        result.setDashPattern({3, 3});
    return result;
}

QRect qtRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

}  // namespace

DrawContext::DrawContext(QImage& target) : m_image(target) {
    m_logFont.height = -13;
    m_font = fontFromLogFont(m_logFont, m_textAntialiasing);
}

DrawContext::~DrawContext() = default;

Pen DrawContext::setPen(const Pen& pen) {
    return std::exchange(m_pen, pen);
}
Brush DrawContext::setBrush(const Brush& brush) {
    return std::exchange(m_brush, brush);
}
RasterMode DrawContext::setRasterMode(RasterMode mode) {
    return std::exchange(m_rasterMode, mode);
}
BackgroundMode DrawContext::setBackgroundMode(BackgroundMode mode) {
    return std::exchange(m_backgroundMode, mode);
}
uint32_t DrawContext::setBackgroundColour(uint32_t colour) {
    return std::exchange(m_backgroundColour, colour);
}
uint32_t DrawContext::setTextColour(uint32_t colour) {
    return std::exchange(m_textColour, colour);
}
Point DrawContext::setOrigin(Point origin) {
    return std::exchange(m_origin, origin);
}

void DrawContext::setFont(const LogFont& logFont) {
    ensureGuiApplication();
    m_logFont = logFont;
    m_fontFromLogFont = true;
    m_font = fontFromLogFont(logFont, m_textAntialiasing);
}

void DrawContext::setFont(const QFont& font) {
    m_fontFromLogFont = false;
    m_font = font;
    m_font.setStyleStrategy(m_textAntialiasing ? QFont::PreferAntialias : QFont::NoAntialias);
}

void DrawContext::setTextAntialiasing(bool on) {
    m_textAntialiasing = on;
    m_font.setStyleStrategy(on ? QFont::PreferAntialias : QFont::NoAntialias);
}

void DrawContext::setTextJustification(int extra, int breakCount) {
    if (breakCount <= 0)
        extra = 0, breakCount = 0;
    m_justifyExtra = extra;
    m_justifyBreaks = breakCount;
}

int DrawContext::justificationShare(int breakIndex) const {
    if (m_justifyBreaks <= 0 || breakIndex >= m_justifyBreaks)
        return 0;
    int share = m_justifyExtra / m_justifyBreaks;
    int rest = m_justifyExtra % m_justifyBreaks;
    if (rest > 0 && breakIndex < rest)
        ++share;
    if (rest < 0 && breakIndex < -rest)
        --share;
    return share;
}

Size DrawContext::textExtent(std::string_view utf8) const {
    ensureGuiApplication();
    QFontMetrics metrics(m_font);
    QString text = toQString(utf8);
    int width = metrics.horizontalAdvance(text);
    int breaks = 0;
    for (QChar c : text)
        if (c == u' ')
            width += justificationShare(breaks++);
    return Size{width, metrics.height()};
}

void DrawContext::textOut(int x, int y, std::string_view utf8) {
    ensureGuiApplication();
    const QString text = toQString(utf8);
    const QFontMetrics metrics(m_font);
    const Size extent = textExtent(utf8);
    x += m_origin.x;
    y += m_origin.y;
    if (m_backgroundMode == BackgroundMode::Opaque) {
        QPainter painter(&m_image);
        painter.fillRect(QRect(x, y, extent.cx, extent.cy), QColor(rgbFromColour(m_backgroundColour)));
    }
    if (text.isEmpty())
        return;

    // Glyphs are drawn as coverage into a mask and blended here: the raster engine blends text as
    // if the destination were opaque, which darkens the edges on a transparent marker surface.
    const int margin = extent.cy;
    QImage mask(extent.cx + 2 * margin, extent.cy + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull())
        return;
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::TextAntialiasing, m_textAntialiasing);
        painter.setFont(m_font);
        painter.setPen(Qt::white);
        const int baseline = margin + metrics.ascent();
        if (m_justifyBreaks <= 0 || m_justifyExtra == 0 || !text.contains(u' ')) {
            painter.drawText(QPoint(margin, baseline), text);
        } else {
            // Every piece starts where the unjustified text would put it plus the shares of the
            // spaces before it, so measuring and drawing agree.
            int breaks = 0;
            int extra = 0;
            qsizetype start = 0;
            for (qsizetype i = 0; i <= text.size(); ++i) {
                if (i < text.size() && text[i] != u' ')
                    continue;
                if (i > start) {
                    int pieceX = margin + metrics.horizontalAdvance(text.left(start)) + extra;
                    painter.drawText(QPoint(pieceX, baseline), text.mid(start, i - start));
                }
                if (i < text.size())
                    extra += justificationShare(breaks++);
                start = i + 1;
            }
        }
    }
    const uint32_t colour = m_textColour == kInvalidColour ? 0 : m_textColour;
    blendCoverage(mask, x - margin, y - margin, rgbFromColour(colour));
}

void DrawContext::blendCoverage(const QImage& mask, int left, int top, QRgb colour) {
    const bool premultiplied = m_image.format() == QImage::Format_ARGB32_Premultiplied;
    const int sr = qRed(colour), sg = qGreen(colour), sb = qBlue(colour);
    for (int my = 0; my < mask.height(); ++my) {
        const int ty = top + my;
        if (ty < 0 || ty >= m_image.height())
            continue;
        const QRgb* coverage = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
        QRgb* target = reinterpret_cast<QRgb*>(m_image.scanLine(ty));
        for (int mx = 0; mx < mask.width(); ++mx) {
            const int tx = left + mx;
            const int a = qAlpha(coverage[mx]);
            if (a == 0 || tx < 0 || tx >= m_image.width())
                continue;
            const QRgb d = target[tx];
            int da = m_image.hasAlphaChannel() ? qAlpha(d) : 255;
            if (premultiplied) {
                auto mix = [&](int s, int dc) { return (s * a + dc * (255 - a) + 127) / 255; };
                target[tx] = qRgba(mix(sr, qRed(d)), mix(sg, qGreen(d)), mix(sb, qBlue(d)),
                                   a + (da * (255 - a) + 127) / 255);
                continue;
            }
            // Source over in straight colours: on an opaque pixel a plain mix, on a transparent
            // one the text colour with the coverage as alpha. Alpha 1 is the untouched-surface
            // marker and counts as nothing, so faint edges do not pick up its colour.
            if (da <= 1)
                da = 0;
            const int outA = a * 255 + da * (255 - a);  // alpha times 255
            auto mix = [&](int s, int dc) { return (s * a * 255 + dc * da * (255 - a) + outA / 2) / outA; };
            target[tx] = qRgba(mix(sr, qRed(d)), mix(sg, qGreen(d)), mix(sb, qBlue(d)), (outA + 127) / 255);
        }
    }
}

void DrawContext::preparePainter(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(m_origin.x, m_origin.y);
}

void DrawContext::paint(const std::function<void(QPainter&)>& draw, bool usesBrush, QRect bounds) {
    const QBrush brush =
        usesBrush && !m_brush.hollow ? QBrush(QColor(rgbFromColour(m_brush.colour))) : QBrush(Qt::NoBrush);
    if (m_rasterMode == RasterMode::Copy) {
        QPainter painter(&m_image);
        preparePainter(painter);
        if (m_backgroundMode == BackgroundMode::Opaque &&
            (m_pen.style == PenStyle::Dash || m_pen.style == PenStyle::Dot)) {
            // Opaque mode fills the gaps of a styled pen with the background colour.
            Pen gapPen{PenStyle::Solid, m_pen.width, m_backgroundColour};
            painter.setPen(qtPen(gapPen));
            painter.setBrush(Qt::NoBrush);
            draw(painter);
        }
        painter.setPen(qtPen(m_pen));
        painter.setBrush(brush);
        draw(painter);
        return;
    }
    // NOT-XOR: draw the figure into a mask in its own colours, then combine every covered
    // pixel as ~(colour ^ destination). Drawing the same figure twice restores the surface.
    // The mask only covers the figure's bounds (widened by the pen) on the surface.
    const int margin = std::max(1, m_pen.width) + 2;
    const QRect area =
        bounds.translated(m_origin.x, m_origin.y).adjusted(-margin, -margin, margin, margin) & m_image.rect();
    if (area.isEmpty())
        return;
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull())
        return;
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(m_origin.x - area.left(), m_origin.y - area.top());
        painter.setPen(qtPen(m_pen));
        painter.setBrush(brush);
        draw(painter);
    }
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        QRgb* target = reinterpret_cast<QRgb*>(m_image.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            if (qAlpha(source[x]) == 0)
                continue;
            const QRgb d = target[x];
            target[x] = (d & 0xFF000000u) | (~(source[x] ^ d) & 0x00FFFFFFu);
        }
    }
}

void DrawContext::line(Point from, Point to) {
    paint([&](QPainter& p) { p.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y)); }, false,
          QRect(QPoint(from.x, from.y), QPoint(to.x, to.y)).normalized());
}

void DrawContext::polyline(const std::vector<Point>& points) {
    if (points.empty())
        return;
    QPolygon polygon(qsizetype(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(int(i), points[i].x, points[i].y);
    if (points.size() == 1) {
        paint([&](QPainter& p) { p.drawPoint(polygon.point(0)); }, false, polygon.boundingRect());
        return;
    }
    paint([&](QPainter& p) { p.drawPolyline(polygon); }, false, polygon.boundingRect());
}

void DrawContext::rectangle(const Rect& rect) {
    Rect r = rect.normalized();
    if (r.isEmpty())
        return;
    paint([&](QPainter& p) { p.drawRect(qtRect(r)); }, true, qtRect(r));
}

void DrawContext::ellipse(const Rect& rect) {
    Rect r = rect.normalized();
    if (r.isEmpty())
        return;
    paint([&](QPainter& p) { p.drawEllipse(qtRect(r)); }, true, qtRect(r));
}

void DrawContext::fillRect(const Rect& rect, uint32_t colour) {
    Rect r = rect.normalized();
    if (r.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.fillRect(QRect(r.left + m_origin.x, r.top + m_origin.y, r.width(), r.height()),
                     QColor(rgbFromColour(colour)));
}

void DrawContext::setPixel(int x, int y, uint32_t colour) {
    x += m_origin.x;
    y += m_origin.y;
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height() || m_image.depth() != 32)
        return;
    reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = rgbFromColour(colour);
}

uint32_t DrawContext::pixel(int x, int y) const {
    x += m_origin.x;
    y += m_origin.y;
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height() || m_image.depth() != 32)
        return kInvalidColour;
    return colourFromRgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
}

bool DrawContext::floodFill(int x, int y) {
    return raster::floodFill(m_image, x + m_origin.x, y + m_origin.y, rgbFromColour(m_brush.colour));
}

}  // namespace quib::raster

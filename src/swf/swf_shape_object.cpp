#include "swf_shape_object.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "swf_movie.h"
#include "swf_stream.h"

namespace quib {

void ShapeObject::setBounds(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
}

void ShapeObject::setFillColor(SwfColor color) {
    m_fillKind = FillKind::Solid;
    m_fillColor = color;
}

void ShapeObject::setGradient(FillKind kind, const SwfMatrix& matrix,
                              std::vector<SwfGradientRecord> records) {
    m_fillKind = kind == FillKind::RadialGradient ? FillKind::RadialGradient : FillKind::LinearGradient;
    m_gradientMatrix = matrix;
    m_gradient = std::move(records);
}

Status ShapeObject::setBitmap(SwfMovie& movie, const SwfBitmapDescription& bitmap) {
    m_fillKind = FillKind::Bitmap;
    m_bitmapError.clear();
    m_bitmapId = movie.takeCharacterId();
    m_bitmapMovie = &movie;
    m_bitmapGeneration = movie.generation();
    m_bitmapWidth = bitmap.width;
    m_bitmapHeight = bitmap.height;
    if (m_bitmapId == 0) {
        m_bitmapTag.reset();
        m_bitmapError = movie.error();
    } else {
        m_bitmapTag = SwfDefineBitsLosslessTag::build(m_bitmapId, bitmap, &m_bitmapError, movie.bitmapPool());
    }
    if (!m_bitmapTag)
        return Status::failureText(m_bitmapError);
    return Status::success();
}

bool ShapeObject::hasMatrix() const {
    return m_translateX != 0 || m_translateY != 0 || m_rotation != 0 || m_scaleX != 65536 ||
           m_scaleY != 65536;
}

SwfMatrix ShapeObject::matrix() const {
    if (!hasMatrix())
        return SwfMatrix();
    double angle = m_rotation / 65536.0 * std::numbers::pi / 180.0;
    double sx = m_scaleX / 65536.0, sy = m_scaleY / 65536.0;
    double c = std::cos(angle), s = std::sin(angle);
    auto cx = int32_t((m_x1 + m_x2) * 0.5);
    auto cy = int32_t((m_y1 + m_y2) * 0.5);
    SwfMatrix m;
    m.identity = false;
    m.hasScale = true;
    m.hasRotate = true;
    m.scaleX = int32_t(c * sx * 65536.0);
    m.rotateSkew0 = int32_t(s * sx * 65536.0);
    m.rotateSkew1 = int32_t(-s * sy * 65536.0);
    m.scaleY = int32_t(c * sy * 65536.0);
    const int64_t tx = m_translateX - int64_t((c * cx - s * cy - cx) * sx);
    const int64_t ty = m_translateY - int64_t((s * cx + c * cy - cy) * sy);
    m.translateX = swfClampToField(tx * kSwfTwipsPerPixel);
    m.translateY = swfClampToField(ty * kSwfTwipsPerPixel);
    return m;
}

bool ShapeObject::emitDefinition(SwfFrame& frame) {
    SwfMovie& movie = frame.movie();
    constexpr int64_t twips = kSwfTwipsPerPixel;
    const int64_t w = int64_t(m_x2) - m_x1 + 1, h = int64_t(m_y2) - m_y1 + 1;
    // Far beyond any movie size; keeps every field below within 31 bits.
    if (w < -65535 || w > 65535 || h < -65535 || h > 65535) {
        movie.recordError("Forma troppo grande per il filmato");
        return false;
    }
    std::vector<SwfFillStyle> fills;
    switch (m_fillKind) {
        case FillKind::Solid: {
            SwfFillStyle f;
            f.type = SwfFillStyle::Solid;
            f.color = m_fillColor;
            fills.push_back(f);
            break;
        }
        case FillKind::LinearGradient:
        case FillKind::RadialGradient: {
            SwfFillStyle f;
            f.type = m_fillKind == FillKind::LinearGradient ? SwfFillStyle::LinearGradient
                                                            : SwfFillStyle::RadialGradient;
            f.matrix = m_gradientMatrix;
            f.gradient = std::move(m_gradient);
            fills.push_back(std::move(f));
            break;
        }
        case FillKind::Bitmap: {
            if (!m_bitmapTag) {
                movie.recordError(m_bitmapError.empty() ? "Bitmap mancante" : m_bitmapError);
                return false;
            }
            if (m_bitmapMovie != &movie || m_bitmapGeneration != movie.generation()) {
                // Its id was counted in another movie and could name a different character here.
                movie.recordError("Bitmap creata per un altro filmato");
                return false;
            }
            frame.append(std::move(m_bitmapTag));
            // The first style is never drawn; the shape uses the second, scaled over the bounds.
            SwfFillStyle unused;
            unused.type = SwfFillStyle::ClippedBitmap;
            unused.bitmapId = 65535;
            unused.matrix = SwfMatrix::scaleTranslate(0xA0000, 0xA0000, 0, 0);
            fills.push_back(unused);
            SwfFillStyle real;
            real.type = SwfFillStyle::ClippedBitmap;
            real.bitmapId = m_bitmapId;
            // A bitmap pixel is one twip; the matrix stretches it over the bounds.
            real.matrix =
                SwfMatrix::scaleTranslate(swfClampToField(w * twips * 65536 / m_bitmapWidth),
                                          swfClampToField(h * twips * 65536 / m_bitmapHeight),
                                          swfClampToField(m_x1 * twips), swfClampToField(m_y1 * twips));
            fills.push_back(real);
            break;
        }
    }

    uint16_t id = movie.takeCharacterId();
    if (id == 0)
        return false;
    auto shape = std::make_unique<SwfDefineShape3Tag>(id);
    // The bounds reach the far edge of the last pixel.
    shape->bounds = {swfClampToField(m_x1 * twips), swfClampToField((int64_t(m_x2) + 1) * twips),
                     swfClampToField(m_y1 * twips), swfClampToField((int64_t(m_y2) + 1) * twips)};
    uint32_t fillIndex = fills.empty() ? 1 : uint32_t(fills.size());
    shape->fillStyles = std::move(fills);
    if (m_lineWidth > 0)
        shape->lineStyles.push_back({m_lineWidth, m_lineColor});
    shape->fillBits = swfUnsignedBits(shape->fillStyles.size());
    shape->lineBits = swfUnsignedBits(shape->lineStyles.size());

    // The outline is one pixel wider and taller than x2 - x1 and y2 - y1, so that the inclusive
    // bounds are covered.
    SwfStyleChangeRecord start;
    start.moveTo = std::make_pair(swfClampToField(m_x1 * twips), swfClampToField(m_y1 * twips));
    start.fillStyle1 = fillIndex;
    start.lineStyle = 1;
    shape->records.push_back(SwfShapeRecord::makeStyleChange(start));
    // An edge holds at most 17 signed bits, so a long side is drawn in several pieces.
    auto side = [&](int64_t dx, int64_t dy) {
        constexpr int64_t longest = 65535;
        while (dx != 0 || dy != 0) {
            const int64_t px = std::clamp(dx, -longest, longest), py = std::clamp(dy, -longest, longest);
            shape->records.push_back(SwfShapeRecord::makeEdge(int32_t(px), int32_t(py)));
            dx -= px;
            dy -= py;
        }
    };
    side(w * twips, 0);
    side(0, h * twips);
    side(-w * twips, 0);
    side(0, -h * twips);
    shape->records.push_back(SwfShapeRecord::makeEnd());
    frame.append(std::move(shape));
    setCharacterId(id);
    return true;
}

BitmapObject::BitmapObject(SwfMovie& movie, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                           const SwfBitmapDescription& bitmap)
    : ShapeObject(x1, y1, x2, y2) {
    setLineWidth(0);
    m_status = setBitmap(movie, bitmap);
}

}  // namespace quib

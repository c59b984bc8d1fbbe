#include "model/offscreen_surface.h"

#include "base/bitmap.h"

namespace quib {

bool OffscreenSurface::EnsureSurface(int width, int height, int bits) {
    if (bits != 24 && bits != 32) return false;
    if (!m_image.isNull() && m_image.width() == width && m_image.height() == height && m_image.depth() == bits)
        return true;
    m_image = QImage();
    if (width <= 0 || height <= 0 || !pictureBytes(width, height, 4)) return false;
    m_image = QImage(width, height, bits == 32 ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    return !m_image.isNull();
}

}  // namespace quib

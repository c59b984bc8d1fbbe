#pragma once

#include <QImage>
#include <QString>
#include <cstring>
#include <string>

#include "base/bitmap.h"

namespace quib::test {

// A picture file read by Qt (its format told by its contents), with 24-bit pixels; empty when unreadable.
inline Bitmap24 readPictureFile(const std::string& path) {
    const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_BGR888);
    Bitmap24 picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(picture.pixel(0, y), image.constScanLine(y), size_t(image.width()) * 3);
    return picture;
}

inline QImage whiteSurface(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(Qt::white);
    return image;
}

}  // namespace quib::test

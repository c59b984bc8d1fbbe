#include "raster/png_file.h"

#include <QBuffer>
#include <QByteArray>

#include "base/atomic_file.h"

namespace quib::raster {

bool savePngFile(const QImage& image, const std::string& path) {
    // The folder is tried first, so that an unwritable target costs no encoding.
    AtomicFile file;
    if (!file.open(path))
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return false;
    return file.commit(bytes.constData(), size_t(bytes.size()));
}

}  // namespace quib::raster

#include "appended_movie.h"

#include <QFile>

namespace quib::player {

namespace {
constexpr qint64 TrailerSize = 8;

uint32_t le32(const uchar* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
}  // namespace

AppendedMovieResult readAppendedMovie(const QString& path) {
    AppendedMovieResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Impossibile aprire il file %1: %2").arg(path, file.errorString());
        return result;
    }
    const qint64 size = file.size();
    if (size < TrailerSize)
        return result;
    QByteArray trailer;
    if (file.seek(size - TrailerSize))
        trailer = file.read(TrailerSize);
    if (trailer.size() != TrailerSize) {
        result.error = QStringLiteral("Impossibile leggere il file %1").arg(path);
        return result;
    }
    const auto* t = reinterpret_cast<const uchar*>(trailer.constData());
    if (le32(t) != AppendedMovieMagic)
        return result;
    result.found = true;
    const qint64 length = le32(t + 4);
    if (length > size - TrailerSize) {
        result.error = QStringLiteral("Il filmato accodato a %1 dichiara %2 byte, il file ne ha solo %3")
                           .arg(path)
                           .arg(length)
                           .arg(size - TrailerSize);
        return result;
    }
    QByteArray movie;
    if (file.seek(size - TrailerSize - length))
        movie = file.read(length);
    if (movie.size() != length) {
        result.error = QStringLiteral("Impossibile leggere il filmato accodato a %1").arg(path);
        return result;
    }
    result.movie.assign(movie.begin(), movie.end());
    return result;
}

}  // namespace quib::player

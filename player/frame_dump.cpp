#include "frame_dump.h"

#include "movie_player.h"

namespace quib::player {

QImage renderFrameImage(std::shared_ptr<const MovieData> movie, int n, QString& error) {
    const int frames = int(movie->frames.size());
    if (n < 0 || n >= frames) {
        error = QStringLiteral("Il frame %1 non esiste: il filmato ha %2 frame (numerati da 0)")
                    .arg(n)
                    .arg(frames);
        return QImage();
    }
    const QSize size = movie->stageSize();
    if (size.width() > MaxDumpSide || size.height() > MaxDumpSide) {
        error = QStringLiteral("Il filmato è troppo grande per un'immagine (%1 x %2)")
                    .arg(size.width())
                    .arg(size.height());
        return QImage();
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        error = QStringLiteral("Memoria insufficiente per l'immagine del frame");
        return QImage();
    }
    MoviePlayer player(std::move(movie));
    player.gotoFrame(n);
    player.render(image);
    return image;
}

}  // namespace quib::player

#include "frame_dump.h"

#include "movie_player.h"

namespace quib::player {

Picture renderFrameImage(std::shared_ptr<const MovieData> movie, int n, std::string& error) {
    const int frames = int(movie->frames.size());
    if (n < 0 || n >= frames) {
        error = "Il frame " + std::to_string(n) + " non esiste: il filmato ha " + std::to_string(frames) +
                " frame (numerati da 0)";
        return Picture();
    }
    const Size size = movie->stageSize();
    if (size.cx > MaxDumpSide || size.cy > MaxDumpSide) {
        error = "Il filmato è troppo grande per un'immagine (" + std::to_string(size.cx) + " x " +
                std::to_string(size.cy) + ")";
        return Picture();
    }
    Picture picture;
    try {
        picture = Picture(size.cx, size.cy);
    } catch (const std::bad_alloc&) {
        error = "Memoria insufficiente per l'immagine del frame";
        return Picture();
    }
    MoviePlayer player(std::move(movie));
    player.gotoFrame(n);
    player.render(picture);
    return picture;
}

}  // namespace quib::player

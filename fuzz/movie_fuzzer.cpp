// Movies in the player: decoded, played a few steps with a click, and drawn small.
#include <QImage>

#include "base/byte_stream.h"
#include "movie_decoder.h"
#include "movie_player.h"
#include "raster/gui_application.h"

using namespace quib::player;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quib::raster::ensureGuiApplication();
    MovieData movie;
    QString error;
    if (!loadMovieBytes(std::vector<uint8_t>(data, data + size), movie, error))
        return 0;
    MoviePlayer player(std::make_shared<const MovieData>(std::move(movie)));
    for (int i = 0; i < 8; ++i)
        player.advance();
    player.click(QPointF(10, 10));
    player.gotoFrame(0);
    QImage image(32, 24, QImage::Format_ARGB32);
    player.render(image);
    return 0;
}

// Movies in the player: decoded, played a few steps with a click, and drawn small.

#include "base/byte_stream.h"
#include "movie_decoder.h"
#include "movie_player.h"

using namespace quib::player;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MovieData movie;
    std::string error;
    if (!loadMovieBytes(std::vector<uint8_t>(data, data + size), movie, error))
        return 0;
    MoviePlayer player(std::make_shared<const MovieData>(std::move(movie)));
    for (int i = 0; i < 8; ++i)
        player.advance();
    player.click(PointF{10, 10});
    player.gotoFrame(0);
    Picture image(32, 24);
    player.render(image);
    return 0;
}

#pragma once

#include "player_program.h"

namespace quib::player {

// Plays the movie in an X11 window titled with its file name, centred and fitted to the screen,
// until the window is closed; shows the error instead when the movie did not load. Returns the
// exit code.
int runX11Projector(const MovieToPlay& toPlay);

}  // namespace quib::player

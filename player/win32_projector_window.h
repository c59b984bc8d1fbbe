#pragma once

#include <string>

#include "player_program.h"

namespace quib::player {

// Plays the movie in a window titled with its file name, centred and fitted to the desktop's
// work area, until the window is closed; shows the error in a message box instead when the
// movie did not load. Returns the exit code.
int runWin32Projector(const MovieToPlay& toPlay);

std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);

}  // namespace quib::player

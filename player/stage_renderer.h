#pragma once

#include "movie_data.h"
#include "picture.h"
#include "stage.h"

namespace quib::player {

// Draws the display list in depth order over the background colour, the movie's frame
// rectangle scaled to fill the whole picture.
void renderStage(const MovieData& movie, const Stage& stage, Picture& picture);

}  // namespace quib::player

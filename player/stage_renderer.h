#pragma once

#include <QImage>
#include <QTransform>

#include "movie_data.h"
#include "stage.h"

namespace quib::player {

// Draws the display list in depth order over the background colour, the movie's frame
// rectangle scaled to fill the whole image.
void renderStage(const MovieData& movie, const Stage& stage, QImage& image);

}  // namespace quib::player

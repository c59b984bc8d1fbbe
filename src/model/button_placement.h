#pragma once

#include "base/geometry.h"
#include "model/frame.h"

namespace quib {

// Where a go-to button (which: 0 or 1) shown for the first time goes: beside the Next button,
// on its left (or its right when there is no room), clear of the other go-to button, and on the
// canvas. A button is "new" while it still sits at the origin, where nobody would place one
// over the captured program on purpose.
Point gotoButtonBesideNext(const FrameElements& frame, int which, const ButtonImageSet& images, Size canvas);

// Moves go-to button which to gotoButtonBesideNext when it is shown but was never placed.
void placeNewGotoButton(FrameElements& frame, int which, const ButtonImageSet& images, Size canvas);

}  // namespace quib

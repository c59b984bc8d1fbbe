#pragma once

#include "frame.h"

namespace quib {

// The pictures a new project starts with: Previous, Next and Goto (used for both Goto buttons),
// 60 x 24 each, fully opaque.
ButtonImageSet defaultButtonImages();

}  // namespace quib

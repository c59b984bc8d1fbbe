#pragma once

#include <QIcon>
#include <cstdint>

namespace quib {

// The alignment button's picture: four text lines laid out left, centred, right or justified.
QIcon alignmentIcon(uint32_t align);

// The pictures of the panel's image buttons: the background and the Next, Previous, Goto 1 and
// Goto 2 button pictures (by their commands); a null icon for other commands.
QIcon pictureButtonIcon(int command);

}  // namespace quib

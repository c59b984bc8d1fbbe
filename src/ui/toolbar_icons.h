#pragma once

#include <QIcon>

namespace quib {

// The toolbar picture of a command, drawn at run time; a null icon for commands without one.
QIcon commandIcon(int id);

// The application's own icon: a film frame with a pointer.
QIcon applicationIcon();

}  // namespace quib

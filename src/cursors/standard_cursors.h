#pragma once

#include <vector>

#include "base/cursor_picture.h"

namespace quib {

// The classic arrow: black with a white outline, 32 x 32, hot spot at its tip (0, 0).
// Used where no platform cursor is at hand, for example the first frame of an empty project.
CursorPicture standardArrowCursor();

// One of the cursors every desktop offers, with the id the platform knows it by and its name.
struct StandardCursor {
    int systemId = 0;
    int stringId = 0;
    const char* name = "";
    CursorPicture cursor;
};

// The fourteen standard cursors in the order the cursor chooser lists them: arrow, up arrow, hand,
// text beam, help, cross, move, the four resize arrows, not allowed, wait and working in
// background. Drawn here, black with a white outline and 0/255 alpha, so that they look the same
// on every desktop and keep their shape under the covered-or-transparent rule.
std::vector<StandardCursor> standardCursors();

}  // namespace quib

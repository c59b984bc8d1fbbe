#pragma once

#include <span>

namespace quib {

// One line of a menu resource: a command, a separator, the start or end of a popup, or the place
// where the window menu lists the open project windows.
struct MenuItem {
    enum Kind { Command, Separator, PopupBegin, PopupEnd, WindowList };
    Kind kind;
    int id = 0;              // Command
    const char* title = "";  // PopupBegin
};

// Menu 100: no project open.
std::span<const MenuItem> menuNoProject();
// Menu 101: a project window is active.
std::span<const MenuItem> menuProject();
// Toolbar 100: command ids, 0 for a separator.
std::span<const int> toolbarCommands();

}  // namespace quib

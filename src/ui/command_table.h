#pragma once

#include <span>

namespace quib {

// Who answers a command first when it is routed (the router still asks every level in order).
enum class CommandGroup { Framework, Application, MainFrame, Panel, Views, Editor, Thumbnails, Document };

struct CommandInfo {
    int id;
    const char* menuText;  // with its "&" mnemonic and the "\t" accelerator text; empty for keys only
    const char* keys;      // accelerators, "; " between several, empty for none
    const char* prompt;    // status-bar text "\n" tool tip, or empty
    CommandGroup group;
    bool checkable = false;
};

// Every command of the application, in menu order.
std::span<const CommandInfo> commandTable();

// The entry of id, or nullptr.
const CommandInfo* findCommand(int id);

}  // namespace quib

#pragma once

#include <string>
#include <vector>

namespace quib::cli {

// One quib-cli command: its name, a usage line and what runs it. run returns the exit status and
// reports errors on stderr itself.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const std::vector<std::string>& args);
};

// Exit statuses shared by the commands.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Command groups, one file each; main.cpp lists them.
std::vector<Command> projectCommands();
std::vector<Command> frameCommands();
std::vector<Command> exportCommands();
std::vector<Command> renderCommands();
std::vector<Command> captureCommands();

// Prints "quib-cli: message" on stderr and returns kExitFailure.
int fail(const std::string& message);
// Prints the usage line of a command on stderr and returns kExitUsage.
int usage(const Command& command);

}  // namespace quib::cli

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"

namespace quib::cli {

int fail(const std::string& message) {
    std::cerr << "quib-cli: " << message << '\n';
    return kExitFailure;
}

int usage(const Command& command) {
    std::cerr << "uso: quib-cli " << command.usage << '\n';
    return kExitUsage;
}

namespace {

std::vector<Command> allCommands() {
    std::vector<Command> commands;
    for (auto group : {projectCommands, frameCommands, exportCommands, renderCommands, captureCommands}) {
        std::vector<Command> more = group();
        commands.insert(commands.end(), more.begin(), more.end());
    }
    return commands;
}

int printHelp(const std::vector<Command>& commands, std::ostream& out) {
    out << "uso: quib-cli COMANDO [ARGOMENTI]\n";
    for (const Command& command : commands)
        out << "  quib-cli " << command.usage << '\n';
    return 0;
}

}  // namespace

}  // namespace quib::cli

int main(int argc, char** argv) {
    using namespace quib::cli;
    const std::vector<Command> commands = allCommands();
    if (argc < 2) {
        printHelp(commands, std::cerr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h")
        return printHelp(commands, std::cout);
    for (const Command& command : commands) {
        if (name == command.name)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::cerr << "quib-cli: comando sconosciuto: " << name << '\n';
    printHelp(commands, std::cerr);
    return kExitUsage;
}

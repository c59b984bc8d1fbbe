#include "document_command_sets.h"

#include "cursor_commands.h"

namespace quib {

const std::vector<DocumentCommandSetFactory>& documentCommandSets() {
    static const std::vector<DocumentCommandSetFactory> sets = {
        [](QuibProjectDocument& document) { return std::make_unique<CursorCommands>(document); },
    };
    return sets;
}

}  // namespace quib

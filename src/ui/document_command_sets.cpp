#include "document_command_sets.h"

#include "template_commands.h"

namespace quib {

const std::vector<DocumentCommandSetFactory>& documentCommandSets() {
    static const std::vector<DocumentCommandSetFactory> sets = {
        [](QuibProjectDocument& document) { return std::make_unique<TemplateCommands>(document); },
    };
    return sets;
}

}  // namespace quib

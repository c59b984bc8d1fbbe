#include "document_command_sets.h"

#include "cursor_commands.h"
#include "frame_operation_commands.h"
#include "history_commands.h"
#include "palette_commands.h"
#include "template_commands.h"

namespace quib {

const std::vector<DocumentCommandSetFactory>& documentCommandSets() {
    static const std::vector<DocumentCommandSetFactory> sets = {
        [](QuibProjectDocument& document) { return std::make_unique<HistoryCommands>(document); },
        [](QuibProjectDocument& document) { return std::make_unique<FrameOperationCommands>(document); },
        [](QuibProjectDocument& document) { return std::make_unique<PaletteCommands>(document); },
        [](QuibProjectDocument& document) { return std::make_unique<CursorCommands>(document); },
        [](QuibProjectDocument& document) { return std::make_unique<TemplateCommands>(document); },
    };
    return sets;
}

}  // namespace quib

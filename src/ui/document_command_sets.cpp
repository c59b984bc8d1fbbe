#include "document_command_sets.h"

namespace quib {

const std::vector<DocumentCommandSetFactory>& documentCommandSets() {
    static const std::vector<DocumentCommandSetFactory> sets = {
    };
    return sets;
}

}  // namespace quib

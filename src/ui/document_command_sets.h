#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "command_handler.h"

namespace quib {

class QuibProjectDocument;

// A family of project commands (frame operations, palette, templates...) in a handler of its
// own; the project document offers each command it does not handle itself to these, in order.
using DocumentCommandSetFactory = std::function<std::unique_ptr<CommandHandler>(QuibProjectDocument&)>;

// Every family, made once for each open project.
const std::vector<DocumentCommandSetFactory>& documentCommandSets();

}  // namespace quib

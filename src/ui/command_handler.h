#pragma once

#include <QString>

namespace quib {

// One level of command routing: the main window, the properties panel, a view or the document.
class CommandHandler {
public:
    virtual ~CommandHandler() = default;
    virtual bool handles(int id) const = 0;
    virtual void run(int id) = 0;
    virtual bool enabled(int id) const = 0;
    virtual bool checked(int /*id*/) const { return false; }
    // A menu text that changes with the state ("Annulla Sposta elementi"); empty keeps the fixed one.
    virtual QString menuText(int /*id*/) const { return {}; }
};

}  // namespace quib

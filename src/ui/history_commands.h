#pragma once

#include "command_handler.h"

namespace quib {

class QuibProjectDocument;

// "Annulla" and "Ripristina" on the project's own history, named after the step they act on.
class HistoryCommands final : public CommandHandler {
public:
    explicit HistoryCommands(QuibProjectDocument& document) : m_document(document) {}

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    QString menuText(int id) const override;

private:
    QuibProjectDocument& m_document;
};

}  // namespace quib

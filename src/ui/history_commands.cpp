#include "history_commands.h"

#include "command_ids.h"
#include "model/quib_doc.h"
#include "quib_project_document.h"

namespace quib {

bool HistoryCommands::handles(int id) const {
    return id == cmd::EditUndo || id == cmd::EditRedo;
}

bool HistoryCommands::enabled(int id) const {
    const CommandStack& history = m_document.doc().commands;
    return id == cmd::EditUndo ? history.canUndo() : id == cmd::EditRedo && history.canRedo();
}

void HistoryCommands::run(int id) {
    CQuibDoc& doc = m_document.doc();
    if (id == cmd::EditUndo)
        doc.commands.undo(doc);
    else if (id == cmd::EditRedo)
        doc.commands.redo(doc);
}

QString HistoryCommands::menuText(int id) const {
    const CommandStack& history = m_document.doc().commands;
    if (id == cmd::EditUndo && history.canUndo())
        return QStringLiteral("&Annulla %1\tCtrl+Z").arg(QString::fromStdString(history.undoName()));
    if (id == cmd::EditRedo && history.canRedo())
        return QStringLiteral("Ri&pristina %1\tCtrl+Y").arg(QString::fromStdString(history.redoName()));
    return {};
}

}  // namespace quib

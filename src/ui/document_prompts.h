#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quib {

// "Salvare le modifiche di %1?" for the project title.
QString saveChangesPrompt(const QString& title);
// The file-dialog filter of project files.
QString projectFileFilter();
// Asks the save-changes question: Yes, No or Cancel.
QMessageBox::StandardButton askSaveChanges(QWidget* parent, const QString& title);

}  // namespace quib

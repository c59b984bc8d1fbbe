#include "document_prompts.h"

#include "base/strings.h"

namespace quib {

QString saveChangesPrompt(const QString& title) {
    return QString::fromUtf8(stringText(str::SaveChanges)).replace(QStringLiteral("%1"), title);
}

QString projectFileFilter() {
    return QStringLiteral("Quib Projects (*.qbk)");
}

QMessageBox::StandardButton askSaveChanges(QWidget* parent, const QString& title) {
    return QMessageBox::question(parent, QString::fromUtf8(stringText(str::AppName)),
                                 saveChangesPrompt(title),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

}  // namespace quib

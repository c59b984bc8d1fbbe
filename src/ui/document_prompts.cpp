#include "document_prompts.h"

#include "base/strings.h"

namespace quib {

QString saveChangesPrompt(const QString& title) {
    // The question names the project, not the window title's modified mark.
    QString name = title;
    if (name.endsWith(QStringLiteral(" *")))
        name.chop(2);
    return QString::fromUtf8(stringText(str::SaveChanges)).replace(QStringLiteral("%1"), name);
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

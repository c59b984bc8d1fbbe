#include "image_open_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "base/strings.h"
#include "imagefilters/file_dialog_types.h"

namespace quib {

namespace {
QStringList nameFilters(const FileDialogTypes& types) {
    QStringList filters;
    for (const FileDialogTypes::NameFilter& filter : types.nameFilters()) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns << QString::fromStdString(pattern);
        filters << QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.label),
                                                 patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

// An open dialog over the plug-ins' types, the first type that can read chosen.
void prepareOpenDialog(QFileDialog& dialog, const FileDialogTypes& types, const QStringList& filters,
                       QFileDialog::FileMode mode) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.value(types.initialIndex() - 1));
}
}  // namespace

QString askImageFileName(QWidget* parent, const FilterTable& table, const QString& title,
                         const QString& folder, const QString& initialName, QString* chosenFolder) {
    const FileDialogTypes types(table, FileDialogTypes::Mode::Open, 1);
    const QStringList filters = nameFilters(types);
    QFileDialog dialog(parent, title, folder);
    prepareOpenDialog(dialog, types, filters, QFileDialog::ExistingFile);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().first();
        const int index = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        const FileDialogTypes::Confirmation confirmed = types.confirm(index, path.toStdString());
        if (confirmed.status) {
            if (chosenFolder)
                *chosenFolder = QFileInfo(path).absolutePath();
            return QString::fromStdString(confirmed.path);
        }
        QMessageBox::warning(parent, QString::fromUtf8(stringText(str::AppName)),
                             QString::fromStdString(confirmed.status.message()));
    }
    return {};
}

QStringList askImageFileNames(QWidget* parent, const FilterTable& table, const QString& title,
                              const QString& folder) {
    const FileDialogTypes types(table, FileDialogTypes::Mode::Open, 1);
    const QStringList filters = nameFilters(types);
    QFileDialog dialog(parent, title, folder);
    prepareOpenDialog(dialog, types, filters, QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

}  // namespace quib

#include "template_commands.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app_paths.h"
#include "app_settings.h"
#include "base/strings.h"
#include "command_ids.h"
#include "main_frame.h"
#include "model/doc_observer.h"
#include "model/template_apply.h"
#include "model/template_file.h"
#include "quib_project_document.h"
#include "save_file_dialog.h"
#include "template_apply_dialog.h"
#include "template_preview.h"

namespace quib {

namespace {

AppSettings*& settingsPointer() {
    static AppSettings* settings = nullptr;
    return settings;
}

AppSettings& applicationSettings() {
    if (settingsPointer())
        return *settingsPointer();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* frame = dynamic_cast<CMainFrame*>(widget))
            return frame->settings();
    static AppSettings fallback;
    return fallback;
}

// The save dialog's filters from the numbered filter text "name|pattern|name|pattern||".
QStringList templateFilters() {
    const QStringList parts = QString::fromUtf8(stringText(str::TemplateFilter)).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString name = parts[i];
        filters.append(name.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)")));
    }
    return filters;
}

bool chooseElements(TemplateElementChooser::Mode mode, uint32_t& mask) {
    if (TemplateCommands::interaction().chooseElements)
        return TemplateCommands::interaction().chooseElements(mode, mask);
    TemplateElementChooser dialog(mode, mask, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    mask = dialog.mask();
    return true;
}

QString askSaveName(const QString& folder, const QString& suggested) {
    if (TemplateCommands::interaction().askSaveName)
        return TemplateCommands::interaction().askSaveName(folder, suggested);
    return askSaveFileName(QApplication::activeWindow(), templateFilters(), QStringLiteral("qtp"),
                           QDir(folder).filePath(suggested));
}

bool askTemplate(const TemplatePreview& preview, QString& folder, QString& path, uint32_t& mask) {
    if (TemplateCommands::interaction().askTemplate)
        return TemplateCommands::interaction().askTemplate(preview, folder, path, mask);
    TemplateApplyDialog dialog(preview, folder, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    folder = dialog.folder();
    path = dialog.selectedPath();
    mask = dialog.mask();
    return true;
}

}  // namespace

TemplateCommands::TemplateCommands(QuibProjectDocument& document) : m_document(document) {}

bool TemplateCommands::handles(int id) const {
    return id == cmd::SaveAsTemplate || id == cmd::ApplyTemplate;
}

void TemplateCommands::run(int id) {
    if (id == cmd::SaveAsTemplate)
        saveAsTemplate();
    else if (id == cmd::ApplyTemplate)
        applyTemplate();
}

bool TemplateCommands::enabled(int id) const {
    return handles(id);
}

TemplateInteraction& TemplateCommands::interaction() {
    static TemplateInteraction functions;
    return functions;
}

void TemplateCommands::setApplicationSettings(AppSettings* settings) {
    settingsPointer() = settings;
}

QString TemplateCommands::suggestedName(const QString& title) {
    QString name = title;
    if (name.endsWith(QStringLiteral(" *")))
        name.chop(2);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

QString TemplateCommands::templatesFolder() {
    const QString folder = userDataFolder() + QStringLiteral("/Templates");
    QDir().mkpath(folder);
    return folder;
}

bool TemplateCommands::saveAsTemplate() {
    uint32_t mask = templ::AllElements;
    if (!chooseElements(TemplateElementChooser::Saving, mask))
        return false;
    const QString path = askSaveName(templatesFolder(), suggestedName(m_document.title()));
    if (path.isEmpty())
        return false;
    TemplateSet set;
    set.TakeFrom(m_document.doc(), mask);
    const Status status = set.Save(QFileInfo(path).absoluteFilePath().toStdString());
    if (!status) {
        QuibProjectDocument::showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

bool TemplateCommands::applyTemplate() {
    CQuibDoc& doc = m_document.doc();
    const TemplatePreview preview(doc);
    AppSettings& settings = applicationSettings();
    QString folder = settings.lastTemplateLoadDir;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = templatesFolder();
    QString path;
    uint32_t mask = templ::AllElements;
    if (!askTemplate(preview, folder, path, mask) || path.isEmpty())
        return false;
    if (!folder.isEmpty())
        settings.lastTemplateLoadDir = folder;
    TemplateSet set;
    const Status status = set.Load(path.toStdString());
    if (!status) {
        QuibProjectDocument::showMessage(QString::fromStdString(status.message()));
        return false;
    }
    // A step of the history of its own, which marks the project modified when it changed it.
    ApplyTemplate(doc, set, mask);
    doc.UpdateAllViews(hint::Everything);
    return true;
}

}  // namespace quib

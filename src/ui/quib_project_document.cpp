#include "quib_project_document.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "base/progress.h"
#include "command_ids.h"
#include "document_prompts.h"
#include "export/pdf_export.h"
#include "model/frame_composition.h"
#include "model/project_storage.h"
#include "render/render_project.h"
#include "render_progress_dialog.h"
#include "shapes/callout_library.h"

namespace quib {

namespace {
std::function<void(const QString&)>& messageFunction() {
    static std::function<void(const QString&)> show;
    return show;
}

std::function<QString(const QString&)>& saveNameFunction() {
    static std::function<QString(const QString&)> ask;
    return ask;
}

QString askSaveName(const QString& suggested) {
    if (saveNameFunction())
        return saveNameFunction()(suggested);
    QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), suggested,
                                                projectFileFilter());
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".qbk");
    return path;
}
}  // namespace

QuibProjectDocument::QuibProjectDocument() : m_doc(std::make_unique<CQuibDoc>()) {}
QuibProjectDocument::~QuibProjectDocument() = default;

void QuibProjectDocument::setMessageFunction(std::function<void(const QString&)> show) {
    messageFunction() = std::move(show);
}

void QuibProjectDocument::setSaveNameFunction(std::function<QString(const QString&)> ask) {
    saveNameFunction() = std::move(ask);
}

void QuibProjectDocument::showMessage(const QString& text) {
    if (messageFunction())
        messageFunction()(text);
    else
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Quib"), text);
}

QString QuibProjectDocument::pathName() const {
    return QString::fromStdString(m_doc->pathName());
}

QString QuibProjectDocument::title() const {
    return QString::fromStdString(m_doc->title());
}

bool QuibProjectDocument::save() {
    if (m_doc->pathName().empty())
        return saveAs();
    return saveTo(pathName(), false);
}

bool QuibProjectDocument::saveAs() {
    const QString path = askSaveName(pathName().isEmpty() ? title() : pathName());
    if (path.isEmpty())
        return false;
    return saveTo(path, false);
}

bool QuibProjectDocument::saveCompressed() {
    if (m_doc->pathName().empty()) {
        const QString path = askSaveName(title());
        return !path.isEmpty() && saveTo(path, true);
    }
    return saveTo(pathName(), true);
}

bool QuibProjectDocument::saveTo(const QString& path, bool compressed) {
    NullProgress progress;
    const std::string target = QFileInfo(path).absoluteFilePath().toStdString();
    Status status = compressed ? SaveProjectCompressed(target, *m_doc, progress)
                               : SaveProject(target, *m_doc, progress);
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    m_doc->setPathName(target);
    m_doc->SetModifiedFlag(false);
    return true;
}

bool QuibProjectDocument::render() {
    RenderCheck check = CheckRenderable(*m_doc);
    if (!check.ok()) {
        if (!check.status.ok())
            showMessage(QString::fromStdString(check.status.message()));
        return false;
    }
    static const CalloutLibrary empty;
    const CalloutLibrary* library = applicationCalloutLibrary();
    RenderProgressDialog progress(QApplication::activeWindow());
    progress.show();
    RenderResult result = RenderProject(*m_doc, library ? *library : empty, progress);
    progress.hide();
    for (const Status* status : {&result.check.status, &result.movieStatus, &result.pageStatus})
        if (!status->ok()) {
            showMessage(QString::fromStdString(status->message()));
            return false;
        }
    return result.ok();
}

bool QuibProjectDocument::exportPdf(QString path) {
    if (path.isEmpty())
        path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), QString(),
                                            QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    RenderProgressDialog progress(QApplication::activeWindow());
    progress.show();
    ExportResult result = ExportPdf(*m_doc, path.toStdString(), progress);
    progress.hide();
    if (!result.status.ok()) {
        showMessage(QString::fromStdString(result.status.message()));
        return false;
    }
    return true;
}

bool QuibProjectDocument::handles(int id) const {
    return id == cmd::FileSave || id == cmd::FileSaveAs || id == cmd::FileSaveCompressed || id == cmd::Render ||
           id == cmd::ExportPdf;
}

void QuibProjectDocument::run(int id) {
    if (id == cmd::FileSave)
        save();
    else if (id == cmd::FileSaveAs)
        saveAs();
    else if (id == cmd::FileSaveCompressed)
        saveCompressed();
    else if (id == cmd::Render)
        render();
    else if (id == cmd::ExportPdf)
        exportPdf();
}

bool QuibProjectDocument::enabled(int id) const {
    return handles(id);
}

std::unique_ptr<ProjectDocument> QuibProjectDocument::open(const QString& path, QString* error) {
    auto document = std::make_unique<QuibProjectDocument>();
    NullProgress progress;
    Status status = LoadProject(QFileInfo(path).absoluteFilePath().toStdString(), document->doc(), progress);
    if (!status) {
        if (error)
            *error = QString::fromStdString(status.message());
        return nullptr;
    }
    return document;
}

std::unique_ptr<QuibProjectDocument> QuibProjectDocument::createNew() {
    auto document = std::make_unique<QuibProjectDocument>();
    document->doc().setTitle("Senza nome");
    document->doc().InitNewProject();
    return document;
}

}  // namespace quib

#include "quib_project_document.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include "app_paths.h"
#include "app_settings.h"
#include "application_filters.h"
#include "background_output.h"
#include "base/atomic_file.h"
#include "base/file_bytes.h"
#include "base/progress.h"
#include "base/strings.h"
#include "command_ids.h"
#include "document_command_sets.h"
#include "document_prompts.h"
#include "export/project_output.h"
#include "html_export_dialog.h"
#include "model/frame_composition.h"
#include "model/output_path.h"
#include "model/project_storage.h"
#include "palette_commands.h"
#include "project_settings_dialog.h"
#include "render/movie_output.h"
#include "render/render_project.h"
#include "render_progress_dialog.h"
#include "result_opener.h"
#include "save_file_dialog.h"
#include "shapes/callout_library.h"

namespace quib {

namespace {
AppSettings*& settingsPointer() {
    static AppSettings* settings = nullptr;
    return settings;
}

AppSettings& exportSettings() {
    static AppSettings fallback;
    return settingsPointer() ? *settingsPointer() : fallback;
}

QString askSaveName(const QString& suggested) {
    if (QuibProjectDocument::interaction().askSaveName)
        return QuibProjectDocument::interaction().askSaveName(suggested);
    QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), suggested, projectFileFilter());
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".qbk");
    return path;
}

bool askYesNo(const QString& question) {
    if (QuibProjectDocument::interaction().askYesNo)
        return QuibProjectDocument::interaction().askYesNo(question);
    return QMessageBox::question(QApplication::activeWindow(), QString::fromUtf8(stringText(str::AppName)),
                                 question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool askHtmlExport(QString& pageName, int& filterIndex) {
    if (QuibProjectDocument::interaction().askHtmlExport)
        return QuibProjectDocument::interaction().askHtmlExport(pageName, filterIndex);
    AppSettings& settings = exportSettings();
    HtmlExportDialog dialog(applicationFilters(), settings.lastHtmlExportName, settings.previousExportFilter,
                            QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    pageName = dialog.pageName();
    filterIndex = dialog.filterIndex();
    return true;
}

QString askPdfName(const QString& remembered) {
    if (QuibProjectDocument::interaction().askPdfName)
        return QuibProjectDocument::interaction().askPdfName(remembered);
    return askSaveFileName(QApplication::activeWindow(),
                           QString::fromStdString(pdfOutput().fileFilter()).split(QStringLiteral(";;")),
                           QStringLiteral("pdf"), remembered);
}

void openPage(const QString& path, bool start) {
    if (QuibProjectDocument::interaction().openPage)
        QuibProjectDocument::interaction().openPage(path);
    else
        openWithDesktop(path, start, &QuibProjectDocument::showMessage);
}

// The status-bar progress when the application gave one, else a silent one.
std::unique_ptr<Progress> statusProgress() {
    if (QuibProjectDocument::interaction().statusProgress)
        if (std::unique_ptr<Progress> progress = QuibProjectDocument::interaction().statusProgress())
            return progress;
    return std::make_unique<NullProgress>();
}

// Keeps the main window disabled while a long load or save runs inside a command.
class WindowDisabled {
public:
    WindowDisabled() : m_window(QApplication::activeWindow()) {
        if (m_window && m_window->isEnabled())
            m_window->setEnabled(false);
        else
            m_window = nullptr;
    }
    ~WindowDisabled() {
        if (m_window)
            m_window->setEnabled(true);
    }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    QPointer<QWidget> m_window;
};

}  // namespace

// Passes the document's view notifications on to the shell.
class QuibProjectDocument::ChangeObserver final : public DocObserver {
public:
    ChangeObserver(CQuibDoc& doc, std::function<void()> listener)
        : m_doc(doc), m_listener(std::move(listener)) {
        m_doc.addObserver(this);
    }
    ~ChangeObserver() override { m_doc.removeObserver(this); }
    void onUpdate(int, uint32_t) override { m_listener(); }

private:
    CQuibDoc& m_doc;
    std::function<void()> m_listener;
};

QuibProjectDocument::QuibProjectDocument() : m_doc(std::make_unique<CQuibDoc>()) {
    for (const DocumentCommandSetFactory& make : documentCommandSets())
        if (std::unique_ptr<CommandHandler> set = make(*this))
            m_commandSets.push_back(std::move(set));
}

CommandHandler* QuibProjectDocument::commandSetFor(int id) const {
    for (const std::unique_ptr<CommandHandler>& set : m_commandSets)
        if (set->handles(id))
            return set.get();
    return nullptr;
}

QuibProjectDocument::~QuibProjectDocument() {
    m_changes.reset();
}

void QuibProjectDocument::setChangeListener(std::function<void()> listener) {
    m_changes.reset();
    if (listener)
        m_changes = std::make_unique<ChangeObserver>(*m_doc, std::move(listener));
}

DocumentInteraction& QuibProjectDocument::interaction() {
    static DocumentInteraction functions;
    return functions;
}

void QuibProjectDocument::setApplicationSettings(AppSettings* settings) {
    settingsPointer() = settings;
}

void QuibProjectDocument::setMessageFunction(std::function<void(const QString&)> show) {
    interaction().showMessage = std::move(show);
}

void QuibProjectDocument::setSaveNameFunction(std::function<QString(const QString&)> ask) {
    interaction().askSaveName = std::move(ask);
}

void QuibProjectDocument::showMessage(const QString& text) {
    if (interaction().showMessage)
        interaction().showMessage(text);
    else
        QMessageBox::warning(QApplication::activeWindow(), QString::fromUtf8(stringText(str::AppName)), text);
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

QString QuibProjectDocument::proposedSaveName() const {
    // Never the window title: it carries the modified mark.
    return pathName().isEmpty() ? QStringLiteral("Senzatitolo.qbk") : pathName();
}

bool QuibProjectDocument::saveAs() {
    const QString path = askSaveName(proposedSaveName());
    if (path.isEmpty())
        return false;
    return saveTo(path, false);
}

bool QuibProjectDocument::saveCompressed() {
    if (m_doc->pathName().empty()) {
        const QString path = askSaveName(proposedSaveName());
        return !path.isEmpty() && saveTo(path, true);
    }
    return saveTo(pathName(), true);
}

bool QuibProjectDocument::saveTo(const QString& path, bool compressed) {
    const std::string target = QFileInfo(path).absoluteFilePath().toStdString();
    const bool renamed = m_doc->pathName() != target;
    Status status;
    if (compressed) {
        WindowDisabled busy;
        std::unique_ptr<Progress> progress = statusProgress();
        status = SaveProjectCompressed(target, *m_doc, *progress);
    } else {
        NullProgress progress;
        status = SaveProject(target, *m_doc, progress);
    }
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    m_doc->setPathName(target);
    if (renamed && interaction().savedUnderNewName)
        interaction().savedUnderNewName(QString::fromStdString(target));
    m_doc->SetModifiedFlag(false);
    return true;
}

bool QuibProjectDocument::render() {
    RenderCheck check = CheckRenderable(*m_doc);
    if (check.blocker == RenderBlocker::NoOutputName) {
        // No output yet: the settings dialog first; a name still empty stops without a message.
        if (!editProjectSettings() || m_doc->settings.outputFileName.empty())
            return false;
        check = CheckRenderable(*m_doc);
    }
    if (check.blocker == RenderBlocker::NoPalette) {
        // The message, then the palette dialog; without a palette afterwards nothing is rendered.
        if (!supplyMissingPalette(*m_doc, QApplication::activeWindow(), &QuibProjectDocument::showMessage))
            return false;
        check = CheckRenderable(*m_doc);
    }
    if (!check.ok()) {
        if (!check.status.ok())
            showMessage(QString::fromStdString(check.status.message()));
        return false;
    }
    return writeOutput(projectOutput(m_doc->settings.outputType), m_doc->settings.outputFileName,
                       outputOptions());
}

OutputOptions QuibProjectDocument::outputOptions() const {
    OutputOptions options;
    options.callouts = &applicationCalloutsOrNone();
    options.filters = &applicationFilters();
    return options;
}

bool QuibProjectDocument::writeOutput(const ProjectOutput& output, const std::string& path,
                                      const OutputOptions& options) {
    RenderProgressDialog progress(QApplication::activeWindow());
    progress.show();
    const CQuibDoc& project = *m_doc;
    const ExportResult result = runInBackground(
        progress, [&](Progress& relay) { return output.write(project, path, options, relay); });
    progress.hide();
    if (!result.status.ok()) {
        showMessage(QString::fromStdString(result.status.message()));
        return false;
    }
    if (interaction().outputWritten)
        interaction().outputWritten(result);
    else
        announceWrittenOutput(result, output.type() == OutputType::LinuxExecutable,
                              QApplication::activeWindow(), &QuibProjectDocument::showMessage);
    return true;
}

bool QuibProjectDocument::editProjectSettings() {
    return runProjectSettings(*m_doc, QApplication::activeWindow(), interaction().editOutputSettings);
}

bool QuibProjectDocument::showResult() {
    ShowResultPlan plan = PlanShowResult(m_doc->settings.outputFileName, m_doc->settings.outputType);
    if (plan.askRenderFirst) {
        if (!askYesNo(QString::fromStdString(plan.question)))
            return false;
        render();
        // The name may have been chosen just now.
        plan = PlanShowResult(m_doc->settings.outputFileName, m_doc->settings.outputType);
        if (plan.askRenderFirst)
            return false;
    }
    openPage(QString::fromStdString(plan.page), plan.start);
    return true;
}

bool QuibProjectDocument::exportHtml() {
    QString pageName;
    int filterIndex = -1;
    if (!askHtmlExport(pageName, filterIndex))
        return false;
    const FilterTable& filters = applicationFilters();
    if (pageName.isEmpty() || filterIndex < 0 || filterIndex >= filters.size())
        return false;
    AppSettings& settings = exportSettings();
    settings.lastHtmlExportName = pageName;
    // A bare name lands beside the project, not in whatever folder the program started from.
    if (QFileInfo(pageName).isRelative() && !m_doc->projectDir.empty())
        pageName = QDir(QString::fromStdString(m_doc->projectDir)).filePath(pageName);
    settings.previousExportFilter = filterIndex;
    OutputOptions options = outputOptions();
    options.imageFilter = filterIndex;
    return writeOutput(htmlPagesOutput(), pageName.toStdString(), options);
}

bool QuibProjectDocument::exportPdf(QString path) {
    if (path.isEmpty()) {
        AppSettings& settings = exportSettings();
        path = askPdfName(settings.lastPdfExportName);
        if (path.isEmpty())
            return false;
        // The export adds ".pdf" itself and titles the document with the name as typed.
        settings.lastPdfExportName = path;
    }
    return writeOutput(pdfOutput(), path.toStdString(), outputOptions());
}

bool QuibProjectDocument::handlesItself(int id) {
    return id == cmd::FileSave || id == cmd::FileSaveAs || id == cmd::FileSaveCompressed ||
           id == cmd::Render || id == cmd::ExportPdf || id == cmd::ExportHtml || id == cmd::ProjectSettings ||
           id == cmd::ShowResult;
}

bool QuibProjectDocument::handles(int id) const {
    return handlesItself(id) || commandSetFor(id) != nullptr;
}

void QuibProjectDocument::run(int id) {
    if (!handlesItself(id)) {
        if (CommandHandler* set = commandSetFor(id))
            set->run(id);
        return;
    }
    switch (id) {
        case cmd::FileSave:
            save();
            break;
        case cmd::FileSaveAs:
            saveAs();
            break;
        case cmd::FileSaveCompressed:
            saveCompressed();
            break;
        case cmd::Render:
            render();
            break;
        case cmd::ExportPdf:
            exportPdf();
            break;
        case cmd::ExportHtml:
            exportHtml();
            break;
        case cmd::ProjectSettings:
            editProjectSettings();
            break;
        case cmd::ShowResult:
            showResult();
            break;
        default:
            break;
    }
}

bool QuibProjectDocument::enabled(int id) const {
    if (handlesItself(id))
        return true;
    const CommandHandler* set = commandSetFor(id);
    return set && set->enabled(id);
}

bool QuibProjectDocument::checked(int id) const {
    const CommandHandler* set = handlesItself(id) ? nullptr : commandSetFor(id);
    return set && set->checked(id);
}

QString QuibProjectDocument::menuText(int id) const {
    const CommandHandler* set = handlesItself(id) ? nullptr : commandSetFor(id);
    return set ? set->menuText(id) : QString();
}

std::unique_ptr<ProjectDocument> QuibProjectDocument::open(const QString& path, QString* error) {
    auto document = std::make_unique<QuibProjectDocument>();
    WindowDisabled busy;
    std::unique_ptr<Progress> progress = statusProgress();
    Status status = LoadProject(QFileInfo(path).absoluteFilePath().toStdString(), document->doc(), *progress);
    if (!status) {
        if (error)
            *error = QString::fromStdString(status.message());
        return nullptr;
    }
    return document;
}

namespace {
// The sample's copy in the user's data folder: rendering it writes there, never into the folder
// the program was installed in. A newer shipped sample replaces an older copy.
QString writableSample(const QString& projectPath) {
    const QFileInfo sample(projectPath);
    const QString folder = userDataFolder() + QStringLiteral("/samples");
    const QString copy = folder + QLatin1Char('/') + sample.fileName();
    const QFileInfo copied(copy);
    if (copied.exists() && copied.lastModified() >= sample.lastModified())
        return copy;
    std::vector<uint8_t> bytes;
    if (QDir().mkpath(folder) &&
        readFileBytes(QFile::encodeName(sample.absoluteFilePath()).toStdString(), bytes) == FileRead::Ok &&
        writeFileAtomically(QFile::encodeName(copy).toStdString(), bytes))
        return copy;
    return sample.absoluteFilePath();
}

// A sample without an output name renders beside itself as a page every browser plays.
void giveDefaultOutputName(CQuibDoc& doc, const QString& projectPath) {
    if (doc.settings.outputFileName.empty()) {
        doc.settings.outputType = OutputType::Html5;
        doc.settings.outputFileName = outputBesideProject(QFile::encodeName(projectPath).toStdString(),
                                                          projectOutput(OutputType::Html5).extension());
    }
}
}  // namespace

bool QuibProjectDocument::runTutorial(const QString& projectPath) {
    const QString path = writableSample(projectPath);
    QuibProjectDocument document;
    NullProgress progress;
    document.doc().settingsOnly = true;
    Status status = LoadProject(path.toStdString(), document.doc(), progress);
    document.doc().settingsOnly = false;
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    giveDefaultOutputName(document.doc(), path);
    ShowResultPlan plan =
        PlanShowResult(document.doc().settings.outputFileName, document.doc().settings.outputType);
    if (plan.askRenderFirst) {
        if (!askYesNo(QString::fromStdString(plan.question)))
            return false;
        QuibProjectDocument full;
        status = LoadProject(path.toStdString(), full.doc(), progress);
        if (!status) {
            showMessage(QString::fromStdString(status.message()));
            return false;
        }
        giveDefaultOutputName(full.doc(), path);
        if (!full.render())
            return false;
    }
    return document.showResult();
}

std::unique_ptr<QuibProjectDocument> QuibProjectDocument::createNew() {
    auto document = std::make_unique<QuibProjectDocument>();
    document->doc().setTitle("Senza nome");
    document->doc().InitNewProject();
    return document;
}

}  // namespace quib

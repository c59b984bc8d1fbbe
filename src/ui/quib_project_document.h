#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "base/progress.h"
#include "export/project_output.h"
#include "model/quib_doc.h"
#include "output_settings.h"
#include "project_document.h"

namespace quib {

struct AppSettings;
class QuibStatusBar;

// What the document asks of the user; tests replace these so that no modal box opens.
struct DocumentInteraction {
    // A failure message (a message box by default).
    std::function<void(const QString&)> showMessage;
    // The file name Save As asks for.
    std::function<QString(const QString& suggested)> askSaveName;
    // A yes/no question; true for yes.
    std::function<bool(const QString&)> askYesNo;
    // The project settings dialog over settings; true on OK.
    std::function<bool(OutputSettings& settings, const QString& projectDir)> editOutputSettings;
    // The HTML export options; true on OK with the page name and the filter table index.
    std::function<bool(QString& pageName, int& filterIndex)> askHtmlExport;
    // The PDF file name, starting from the remembered one.
    std::function<QString(const QString& remembered)> askPdfName;
    // Opens a page with the desktop's browser (or starts the executable output).
    std::function<void(const QString& path)> openPage;
    // Told after the project was saved under a name it did not have (the recent files list).
    std::function<void(const QString& path)> savedUnderNewName;
    // Tells that an output was written (the status bar and a box offering to open it by default).
    std::function<void(const ExportResult& result)> outputWritten;
    // The status-bar progress display of long loads and saves (none when empty).
    std::function<std::unique_ptr<Progress>()> statusProgress;
};

// The project document of a window: a CQuibDoc with the file commands (save, save as, compressed save).
class QuibProjectDocument final : public ProjectDocument {
public:
    QuibProjectDocument();
    ~QuibProjectDocument() override;

    CQuibDoc& doc() { return *m_doc; }
    const CQuibDoc& doc() const { return *m_doc; }

    QString pathName() const override;
    QString title() const override;
    bool isModified() const override { return m_doc->isModified(); }
    bool save() override;
    bool saveAs();
    bool saveCompressed();
    // The name the save dialog proposes: the file's own, or "Senzatitolo.qbk" for a new project.
    QString proposedSaveName() const;
    // Writes to path; failures are shown and give false.
    bool saveTo(const QString& path, bool compressed);
    // The render command with its progress dialog; false when nothing was rendered.
    bool render();
    // The PDF export to path (asked for when empty), with its progress dialog.
    bool exportPdf(QString path = QString());
    // The HTML export: options dialog, then the page and one image per frame with progress.
    bool exportHtml();
    // "Impostazioni progetto" on this project; on OK the project is marked modified.
    bool editProjectSettings();
    // Opens the page beside the output, offering to render first when there is no output yet.
    bool showResult();

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;
    QString menuText(int id) const override;

    // Failure messages (a message box unless replaced) and the file name asked for by Save As.
    static void setMessageFunction(std::function<void(const QString&)> show);
    static void setSaveNameFunction(std::function<QString(const QString& suggested)> ask);
    static void showMessage(const QString& text);
    // Every question the document asks; members left empty use the standard dialogs.
    static DocumentInteraction& interaction();
    // The settings the HTML export remembers its choices in (a private copy until set).
    static void setApplicationSettings(AppSettings* settings);

    // Loads the project file at path; nullptr and the engine's message on failure.
    static std::unique_ptr<ProjectDocument> open(const QString& path, QString* error);
    // Shows a sample project's result without opening a window: reads its settings, offers to
    // render it when there is no output yet, then opens the page. A sample in a read-only folder
    // is first copied to the user's data folder so that its movie can be written.
    static bool runTutorial(const QString& projectPath);

    // A new project without the capture wizard: default buttons, "Senza nome".
    static std::unique_ptr<QuibProjectDocument> createNew();

    void setChangeListener(std::function<void()> listener) override;

private:
    class ChangeObserver;
    OutputOptions outputOptions() const;
    // Writes the project through output on a worker thread behind the progress dialog; a failure
    // is shown. The project is only read.
    bool writeOutput(const ProjectOutput& output, const std::string& path, const OutputOptions& options);
    static bool handlesItself(int id);
    CommandHandler* commandSetFor(int id) const;

    std::unique_ptr<CQuibDoc> m_doc;
    std::vector<std::unique_ptr<CommandHandler>> m_commandSets;
    std::unique_ptr<ChangeObserver> m_changes;
};

}  // namespace quib

#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "app_settings.h"
#include "main_frame.h"
#include "startup_steps.h"

namespace quib {

// The application: start-up in its fixed order, the settings from start-up to exit, and the main
// window. The steps named below are the places where the other subsystems plug in.
class CQuibApp {
public:
    // Step names, in the order they run.
    static inline const QString StepFramework = QStringLiteral("framework");
    static inline const QString StepShapes = QStringLiteral("shapes");  // shape prototypes
    static inline const QString StepApplicationFolder = QStringLiteral("applicationFolder");
    static inline const QString StepSettings = QStringLiteral("settings");
    static inline const QString StepFilters = QStringLiteral("filters");            // image filter plug-ins
    static inline const QString StepDocumentType = QStringLiteral("documentType");  // opener and views
    static inline const QString StepMainWindow = QStringLiteral("mainWindow");
    static inline const QString StepClipboardFormats = QStringLiteral("clipboardFormats");
    static inline const QString StepShellRegistration = QStringLiteral("shellRegistration");
    static inline const QString StepCommandLine = QStringLiteral("commandLine");
    static inline const QString StepCalloutLibrary = QStringLiteral("calloutLibrary");  // and the popup menus
    static inline const QString StepReloadLastProject = QStringLiteral("reloadLastProject");
    static inline const QString StepClearLastProject = QStringLiteral("clearLastProjectPath");
    static inline const QString StepShowMainWindow = QStringLiteral("showMainWindow");
    static inline const QString StepOpenProject = QStringLiteral("openProject");

    // arguments: the program path and its arguments. store: where settings live; by default
    // QSettings("Corvander", "Quib").
    explicit CQuibApp(QStringList arguments, std::unique_ptr<QSettings> store = nullptr);
    ~CQuibApp();

    StartupSteps& startupSteps() { return m_steps; }
    // Runs start-up; false when the program should end.
    bool initInstance();
    // Writes the settings back.
    void exitInstance();

    AppSettings& settings() { return m_settings; }
    QSettings& store() { return *m_store; }
    CMainFrame* mainFrame() const { return m_mainFrame.get(); }
    QString applicationFolder() const { return m_applicationFolder; }
    // The project start-up opens: the one named on the command line or the one to reload.
    QString requestedProject() const { return m_requestedProject; }

    void setDocumentOpener(DocumentOpener opener) { m_opener = std::move(opener); }
    void setViewFactory(ViewFactory factory) { m_viewFactory = std::move(factory); }

    // Where templates are saved: the user's data folder.
    static QString templatesFolder();

private:
    void addDefaultSteps();

    QStringList m_arguments;
    std::unique_ptr<QSettings> m_store;
    StartupSteps m_steps;
    AppSettings m_settings;
    std::unique_ptr<CMainFrame> m_mainFrame;
    QString m_applicationFolder;
    QString m_namedFile;
    QString m_requestedProject;
    DocumentOpener m_opener;
    ViewFactory m_viewFactory;
};

}  // namespace quib

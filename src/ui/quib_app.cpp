#include "quib_app.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>

#include "app_paths.h"
#include "application_callouts.h"
#include "application_filters.h"
#include "command_line.h"
#include "interface_language.h"
#include "new_project_wizard.h"
#include "progress_bar.h"
#include "project_views.h"
#include "quib_project_document.h"
#include "template_commands.h"
#include "toolbar_icons.h"

namespace quib {

CQuibApp::CQuibApp(QStringList arguments, std::unique_ptr<QSettings> store)
    : m_arguments(std::move(arguments)), m_store(std::move(store)) {
    addDefaultSteps();
}

CQuibApp::~CQuibApp() {
    QuibProjectDocument::setApplicationSettings(nullptr);
    TemplateCommands::setApplicationSettings(nullptr);
    QuibProjectDocument::interaction().statusProgress = {};
}

QString CQuibApp::templatesFolder() {
    return userDataFolder() + QStringLiteral("/Templates");
}

void CQuibApp::addDefaultSteps() {
    m_steps.add(StepFramework, [this] {
        QCoreApplication::setOrganizationName(QStringLiteral("Corvander"));
        QCoreApplication::setApplicationName(QStringLiteral("Quib"));
        QApplication::setWindowIcon(applicationIcon());
        QGuiApplication::setDesktopFileName(QStringLiteral("quib"));
        installItalianToolkitTexts();
        if (!m_store)
            m_store = std::make_unique<QSettings>(QStringLiteral("Corvander"), QStringLiteral("Quib"));
        return true;
    });
    m_steps.add(StepShapes, {});
    m_steps.add(StepApplicationFolder, [this] {
        m_applicationFolder = QCoreApplication::applicationDirPath();
        return true;
    });
    m_steps.add(StepSettings, [this] {
        m_settings = AppSettings::defaults(templatesFolder());
        m_settings.load(*m_store);
        return true;
    });
    m_steps.add(StepFilters, [] {
        loadApplicationFilters();
        return true;
    });
    m_steps.add(StepDocumentType, {});
    m_steps.add(StepMainWindow, [this] {
        m_mainFrame = std::make_unique<CMainFrame>(m_settings, *m_store);
        installProjectDocument(*m_mainFrame);
        NewProjectWizard::setApplicationStore(m_store.get());
        QuibProjectDocument::setApplicationSettings(&m_settings);
        TemplateCommands::setApplicationSettings(&m_settings);
        m_mainFrame->setTutorialHandler([](const QString& path) { QuibProjectDocument::runTutorial(path); });
        QuibProjectDocument::interaction().statusProgress = [this]() -> std::unique_ptr<Progress> {
            if (!m_mainFrame)
                return nullptr;
            return std::make_unique<CProgressBar>(m_mainFrame->panes(), QString(), 40, 0);
        };
        if (m_opener)
            m_mainFrame->setDocumentOpener(m_opener);
        if (m_viewFactory)
            m_mainFrame->setViewFactory(m_viewFactory);
        return true;
    });
    m_steps.add(StepClipboardFormats, {});
    m_steps.add(StepShellRegistration, {});
    m_steps.add(StepCommandLine, [this] {
        m_namedFile = fileNameFromCommandLine(joinCommandLine(m_arguments));
        m_requestedProject = m_namedFile;
        return true;
    });
    // A damaged library is reported and the next one found is used: start-up goes on.
    m_steps.add(StepCalloutLibrary, [this] {
        for (const QString& problem : loadApplicationCalloutLibrary())
            if (m_mainFrame)
                m_mainFrame->showMessage(problem);
        return true;
    });
    m_steps.add(StepReloadLastProject, [this] {
        if (m_namedFile.isEmpty() && m_settings.reloadLastProject)
            m_requestedProject = AppSettings::readLastProjectPath(*m_store);
        return true;
    });
    // Cleared before opening, so a project that crashes the program is not reopened at the next start.
    m_steps.add(StepClearLastProject, [this] {
        AppSettings::writeLastProjectPath(*m_store, QString());
        m_store->sync();
        return true;
    });
    m_steps.add(StepShowMainWindow, [this] {
        m_mainFrame->showWithPlacement();
        return true;
    });
    // A project that cannot be opened is reported and the program starts without it.
    m_steps.add(StepOpenProject, [this] {
        if (!m_requestedProject.isEmpty())
            m_mainFrame->openProject(m_requestedProject);
        return true;
    });
}

bool CQuibApp::initInstance() {
    return m_steps.run();
}

void CQuibApp::exitInstance() {
    if (!m_store)
        return;
    m_settings.save(*m_store);
    m_store->sync();
}

}  // namespace quib

#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QSettings;
class QWidget;

namespace quib {

class CCaptureDialog;
class CCaptureSetupDialog;
class CMainFrame;
class ProjectDocument;
class QuibProjectDocument;
struct CaptureBackends;
struct CaptureWizardChoices;
enum class CaptureSource;

// "Nuovo" through the two-step wizard: the setup dialog, then (when capturing is chosen) the
// capture dialog over a project whose frame and canvas are the region's size. Nothing is created
// when either step is cancelled or the capture ends without a frame. The main window is shown
// again at the end, whatever the way out.
class NewProjectWizard {
public:
    // How each step is run; tests replace them to drive the dialogs without modal loops.
    using SetupRunner = std::function<int(CCaptureSetupDialog&)>;
    using CaptureRunner = std::function<int(CCaptureDialog&)>;
    using BackendsFunction = std::function<CaptureBackends()>;
    using SourceBackendsFunction = std::function<CaptureBackends(CaptureSource)>;

    // lastRate: the application's last timed-capture rate (read, and updated by the wizard).
    // choices, when given: what the first step shows, updated when it is confirmed.
    // store, when given: the application's settings, where the portal's restore token is kept.
    NewProjectWizard(QWidget* mainWindow, int& lastRate, CaptureWizardChoices* choices = nullptr,
                     QSettings* store = nullptr);
    ~NewProjectWizard();

    void setSetupRunner(SetupRunner run) { m_runSetup = std::move(run); }
    void setCaptureRunner(CaptureRunner run) { m_runCapture = std::move(run); }
    // Opens the backends before the setup, which reads the screen through them.
    void setBackendsFunction(BackendsFunction open) {
        m_openBackends = std::move(open);
        m_openSourceBackends = nullptr;
        m_setupProblem = nullptr;
    }
    // Opens the backends after the setup, for the source its region mode asks for: the desktop
    // portal, where the user picks the monitor or the window in the desktop's own dialog. The setup
    // then shows setupProblem's text (why the keys will not work; empty when they will).
    void setSourceBackendsFunction(SourceBackendsFunction open,
                                   std::function<std::string()> setupProblem = {}) {
        m_openSourceBackends = std::move(open);
        m_setupProblem = std::move(setupProblem);
    }

    // Replaces how the steps of every wizard made afterwards are run (empty: the dialogs run
    // modally); lets a scripted session, such as a test of the main window, go through "Nuovo".
    static void setDefaultRunners(SetupRunner setup, CaptureRunner capture);
    // The application's settings store, which the wizards of "Nuovo" keep the portal's token in.
    static void setApplicationStore(QSettings* store);

    // The new project, or nullptr when nothing was created.
    std::unique_ptr<QuibProjectDocument> run();

private:
    QWidget* m_mainWindow;
    int& m_lastRate;
    CaptureWizardChoices* m_choices;
    SetupRunner m_runSetup;
    CaptureRunner m_runCapture;
    BackendsFunction m_openBackends;
    SourceBackendsFunction m_openSourceBackends;
    std::function<std::string()> m_setupProblem;
};

// The new-document factory of the main window: runs the wizard, nullptr when nothing was created.
std::function<std::unique_ptr<ProjectDocument>()> newProjectByWizard(CMainFrame& frame);

}  // namespace quib

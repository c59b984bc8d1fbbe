#include "new_project_wizard.h"

#include <QWidget>

#include "app_settings.h"
#include "capture/capture_frame.h"
#include "capture_backends.h"
#include "capture_dialog.h"
#include "capture_setup_dialog.h"
#include "main_frame.h"
#include "qt_screen_grabber.h"
#include "quib_project_document.h"

namespace quib {

namespace {
NewProjectWizard::SetupRunner& defaultSetupRunner() {
    static NewProjectWizard::SetupRunner run;
    return run;
}

NewProjectWizard::CaptureRunner& defaultCaptureRunner() {
    static NewProjectWizard::CaptureRunner run;
    return run;
}

QSettings*& applicationStore() {
    static QSettings* store = nullptr;
    return store;
}
}  // namespace

NewProjectWizard::NewProjectWizard(QWidget* mainWindow, int& lastRate, CaptureWizardChoices* choices,
                                   QSettings* store)
    : m_mainWindow(mainWindow),
      m_lastRate(lastRate),
      m_choices(choices),
      m_runSetup([](CCaptureSetupDialog& dialog) { return dialog.exec(); }),
      m_runCapture([](CCaptureDialog& dialog) { return runCaptureDialog(dialog); }),
      m_openBackends([store] { return openApplicationCaptureBackends(store); }) {
    if (applicationCaptureChoice().portal)
        setSourceBackendsFunction(
            [store](CaptureSource source) { return openApplicationCaptureBackends(store, source); },
            [] { return portalKeysProblem(applicationCaptureChoice()); });
    if (defaultSetupRunner())
        m_runSetup = defaultSetupRunner();
    if (defaultCaptureRunner())
        m_runCapture = defaultCaptureRunner();
}

void NewProjectWizard::setDefaultRunners(SetupRunner setup, CaptureRunner capture) {
    defaultSetupRunner() = std::move(setup);
    defaultCaptureRunner() = std::move(capture);
}

void NewProjectWizard::setApplicationStore(QSettings* store) {
    applicationStore() = store;
}

NewProjectWizard::~NewProjectWizard() = default;

std::unique_ptr<QuibProjectDocument> NewProjectWizard::run() {
    std::unique_ptr<QuibProjectDocument> document = QuibProjectDocument::createNew();
    CQuibDoc& doc = document->doc();
    // Through the portal the screen is shared only once the region mode says what to share; until
    // then the setup reads the screen through Qt, for its size and the still it picks on.
    const bool sourceLater = bool(m_openSourceBackends);
    CaptureBackends backends;
    if (sourceLater) {
        backends.grabber = std::make_unique<QtScreenGrabber>();
        if (m_setupProblem)
            backends.problem = m_setupProblem();
    } else {
        backends = m_openBackends();
    }

    // The main window comes back on every way out; the wizard may have hidden it.
    struct ShowMainWindow {
        QWidget* window;
        ~ShowMainWindow() {
            if (window)
                window->show();
        }
    } showMainWindow{m_mainWindow};

    CCaptureSetupDialog setup(doc, *backends.grabber, m_lastRate, m_mainWindow,
                              QString::fromStdString(backends.shownText()));
    setup.setWindowChosenByDesktop(sourceLater);
    if (m_choices)
        setup.applyChoices(*m_choices);
    if (m_runSetup(setup) != QDialog::Accepted)
        return nullptr;
    if (m_choices)
        *m_choices = setup.choices();
    if (!setup.startCapturing()) {
        doc.backgroundSize = doc.frameSize;
        doc.SetModifiedFlag(true);
        doc.commands.forgetClean();
        return document;
    }

    Rect region = setup.region();
    if (sourceLater) {
        const RegionMode mode = setup.regionMode();
        backends =
            m_openSourceBackends(mode == RegionMode::Window ? CaptureSource::Window : CaptureSource::Screen);
        // The shared picture decides: a window's starts at (0, 0), and the monitor shared may not
        // be the one Qt calls primary. A rectangle is cut from the monitor.
        if (mode != RegionMode::Rectangle)
            region = screenRegion(backends.grabber->screenSize());
        if (!usableCaptureRegion(region))
            return nullptr;
    }
    const bool timed = setup.timedCapture();
    const bool clickCapture = setup.clickCapture();
    prepareCaptureProject(doc, region);
    int result = QDialog::Rejected;
    {
        CCaptureDialog capture(*backends.grabber, backends.hotKey.get(), doc, region, timed, m_lastRate,
                               m_mainWindow, QString::fromStdString(backends.problem));
        if (clickCapture)
            capture.startClickCapture();
        result = m_runCapture(capture);
    }
    if (result != QDialog::Accepted) {
        doc.DeleteContents();
        return nullptr;
    }
    doc.backgroundSize = doc.frameSize;
    doc.SetModifiedFlag(true);
    doc.commands.forgetClean();
    return document;
}

std::function<std::unique_ptr<ProjectDocument>()> newProjectByWizard(CMainFrame& frame) {
    return [&frame]() -> std::unique_ptr<ProjectDocument> {
        NewProjectWizard wizard(&frame, frame.settings().previousTimedCaptureFrameRate,
                                &frame.settings().captureWizard, applicationStore());
        return wizard.run();
    };
}

}  // namespace quib

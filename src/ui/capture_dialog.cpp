#include "capture_dialog.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "base/strings.h"
#include "capture/capture_region_rules.h"
#include "capture/capture_session.h"
#include "capture/click_capture.h"
#include "capture_backends.h"
#include "capture_tray.h"
#include "model/quib_doc.h"
#include "title_width.h"
#include "toolbar_icons.h"

namespace quib {

namespace {
constexpr int kTrayIconId = 119;
constexpr int kFrameAllowance = 8;
constexpr int kTitleAllowance = 40;
// How long a grab waits for our hidden windows to leave the screen.
constexpr int kHideTimeoutMs = 300;

std::vector<CSystemTray::MenuItem> trayMenu() {
    return {
        {CCaptureDialog::CaptureToggle, QStringLiteral("Avvia la cattura")},
        {0, {}},
        {CCaptureDialog::Finish, QStringLiteral("&Termina la cattura")},
        {CCaptureDialog::Cancel, QStringLiteral("&Annulla la cattura")},
        {0, {}},
        {CCaptureDialog::MinimizeToTray, QStringLiteral("&Minimizza nell'area di notifica")},
        {CCaptureDialog::RestoreFromTray, QStringLiteral("&Riapri la finestra di cattura")},
    };
}
bool askDiscard(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(stringText(str::AppName)), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    return box.exec() == QMessageBox::Yes;
}
}  // namespace

int runCaptureDialog(QDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&loop](int result) { loop.exit(result); });
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    return loop.exec();
}

CCaptureDialog::CCaptureDialog(ScreenGrabber& grabber, GlobalHotKey* hotKey, CQuibDoc& doc,
                               const Rect& region, bool timedCaptureEnabled, int rate, QWidget* mainWindow,
                               const QString& problem)
    : QDialog(nullptr),
      m_session(std::make_unique<CaptureSession>(grabber, doc, region, rate)),
      m_grabber(grabber),
      m_region(region),
      m_doc(doc),
      m_hotKey(hotKey),
      m_mainWindow(mainWindow) {
    setWindowTitle(QStringLiteral("Wizard Nuovo progetto - Passo 2 di 2"));
    keepTitleVisible(*this);
    setWindowIcon(applicationIcon());
    m_shiftDown = [] { return QApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); };

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Cattura una schermata - \"Pausa\""), this));
    auto* hint = new QLabel(QString::fromUtf8(captureText::TimedCaptureHint), this);
    hint->setVisible(timedCaptureEnabled);
    layout->addWidget(hint);
    m_clickHint = new QLabel(QStringLiteral("Cattura a ogni clic"), this);
    m_clickHint->setVisible(false);
    layout->addWidget(m_clickHint);
    auto* counterRow = new QHBoxLayout;
    counterRow->addWidget(new QLabel(QStringLiteral("Frames catturati:"), this));
    m_counter = new QLabel(QString::number(doc.frameCount()), this);
    counterRow->addWidget(m_counter);
    counterRow->addStretch(1);
    layout->addLayout(counterRow);
    auto* problemLabel = new QLabel(problem, this);
    problemLabel->setWordWrap(true);
    problemLabel->setStyleSheet(QStringLiteral("color: #a00000;"));
    layout->addWidget(problemLabel);
    auto* buttons = new QHBoxLayout;
    m_captureButton = new QPushButton(QStringLiteral("&Cattura"), this);
    m_captureButton->setAutoDefault(false);
    auto* finishButton = new QPushButton(QStringLiteral("&Termina"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    buttons->addWidget(m_captureButton);
    buttons->addStretch(1);
    buttons->addWidget(finishButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(m_captureButton, &QPushButton::clicked, this, [this] { runCommand(CaptureToggle); });
    connect(finishButton, &QPushButton::clicked, this, [this] { runCommand(Finish); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { runCommand(Cancel); });

    if (m_mainWindow) {
        m_mainWindowWasVisible = m_mainWindow->isVisible();
        m_mainWindow->setEnabled(false);
    }

    m_timer = new QTimer(this);
    // A coarse timer may stretch each interval by a few percent, and timed frames are meant to
    // play back at the speed they were taken.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] { timedTick(); });

    m_tray = std::make_unique<CSystemTray>(this, QString::fromUtf8(captureText::TrayTip), trayIcon::Idle,
                                           trayMenu());
    m_tray->setNotificationTarget([this](int command) { runCommand(command); },
                                  [this](int command) { return commandEnabled(command); });
    m_tray->setIconList(trayIcon::Idle, trayIcon::Grab);
    m_trayShown = [this] { return m_tray->visible(); };

    Status armed = Status::failureText(std::string());
    if (m_hotKey)
        armed = m_hotKey->start(
            [this](HotKeyAction action) { toggleCapture(action == HotKeyAction::ToggleTimedCapture); });
    if (armed.ok()) {
        m_hotKeyArmed = true;
        m_notifier = new QSocketNotifier(m_hotKey->fileDescriptor(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            m_hotKey->processEvents();
            if (!m_hotKey->isActive())
                m_notifier->setEnabled(false);
        });
    }
    // Without the keys the button is the way to capture; with them it stays out of the way.
    m_captureButton->setVisible(!m_hotKeyArmed);
    if (!m_hotKeyArmed && problem.isEmpty() && !armed.message().empty())
        problemLabel->setText(QString::fromStdString(armed.message()) + QLatin1Char(' ') +
                              QString::fromUtf8(captureText::NoHotKeyHelp));
    problemLabel->setVisible(!m_hotKeyArmed && !problemLabel->text().isEmpty());

    // Beside the region when the screen has room, so that it never shows in the frames.
    const Size screen = m_grabber.screenSize();
    const QSize inside = sizeHint().expandedTo(minimumSize());
    // Room for a window manager's border and title bar, which are not known before showing.
    const Size outside{inside.width() + 2 * kFrameAllowance,
                       inside.height() + kTitleAllowance + kFrameAllowance};
    if (const std::optional<Point> at = placementOutsideRegion(m_region, outside, screen)) {
        move(at->x, at->y);
        m_placedOutside = true;
    }
    // The main window is disabled for the session; over the region it would have to be hidden
    // for every grab (and click capture could not keep samples), so it waits hidden instead.
    const QRect regionRect(m_region.left, m_region.top, m_region.width(), m_region.height());
    if (m_mainWindow && m_mainWindow->isVisible() && m_mainWindow->frameGeometry().intersects(regionRect)) {
        m_mainWindow->hide();
        m_mainWindowHidden = true;
    }
}

CCaptureDialog::~CCaptureDialog() {
    m_timer->stop();
    if (m_hotKey && m_clicks)
        m_hotKey->watchClicks(nullptr);
    if (m_hotKey)
        m_hotKey->stop();
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

void CCaptureDialog::runCommand(int command) {
    if (!commandEnabled(command))
        return;
    switch (command) {
        case CaptureToggle:
            toggleCapture(m_shiftDown && m_shiftDown());
            break;
        case Finish:
            finish();
            break;
        case Cancel:
            reject();
            break;
        case MinimizeToTray:
            minimizeToTray();
            break;
        case RestoreFromTray:
            restoreFromTray();
            break;
        default:
            break;
    }
}

bool CCaptureDialog::commandEnabled(int command) const {
    if (command == MinimizeToTray)
        return isVisible();
    if (command == RestoreFromTray)
        return !isVisible();
    return true;
}

void CCaptureDialog::toggleCapture(bool shift) {
    if (m_session->timedCaptureRunning()) {
        stopTimed();
        return;
    }
    if (!shift) {
        grabOnce();
        return;
    }
    m_session->toggleTimedCapture();
    m_timer->start(m_session->intervalMs());
    m_tray->setIconList(trayIcon::FirstTimed, trayIcon::LastTimed);
}

void CCaptureDialog::grabOnce() {
    setWindowTitle(QStringLiteral("Cattura..."));
    QApplication::alert(this);
    m_tray->stepAnimation();
    if (!grabWithoutOurWindows([this] { return m_session->captureOnce(); }))
        showFailure();
    setWindowTitle(QString::fromStdString(capturedFramesCaption(m_session->counter())));
    m_tray->stepAnimation();
    showCounter();
}

void CCaptureDialog::timedTick() {
    if (!m_session->timedCaptureRunning())
        return;
    m_tray->stepAnimation();
    if (!grabWithoutOurWindows([this] { return m_session->tick(); }) && !m_session->lastError().empty())
        showFailure();
    setWindowTitle(QString::fromStdString(capturedFramesCaption(m_session->counter())));
    showCounter();
}

bool CCaptureDialog::grabWithoutOurWindows(const std::function<bool()>& grab) {
    // Letting events through below may deliver another tick or key; one grab at a time.
    if (m_grabbing)
        return true;
    std::vector<QPointer<QWidget>> covering;
    std::vector<uint32_t> windows;
    for (QWidget* window : windowsOverRegion()) {
        covering.emplace_back(window);
        windows.push_back(uint32_t(window->winId()));
    }
    if (covering.empty())
        return grab();
    m_grabbing = true;
    const std::vector<uint32_t> outer = m_grabber.outerWindows(windows);
    for (QWidget* window : covering)
        window->hide();
    // Sends the hiding to the display server.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_grabber.waitUntilUnmapped(outer, kHideTimeoutMs);
    const bool grabbed = grab();
    for (const QPointer<QWidget>& window : covering) {
        if (window)
            window->show();
    }
    m_grabbing = false;
    return grabbed;
}

std::vector<QWidget*> CCaptureDialog::windowsOverRegion() const {
    const QRect region(m_region.left, m_region.top, m_region.width(), m_region.height());
    std::vector<QWidget*> covering;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->isMinimized() && window->frameGeometry().intersects(region))
            covering.push_back(window);
    }
    return covering;
}

bool CCaptureDialog::startClickCapture() {
    if (!m_hotKeyArmed || m_clicks)
        return m_clicks != nullptr;
    m_clicks = std::make_unique<ClickCapture>(m_grabber, m_doc, m_region);
    if (!m_hotKey->watchClicks([this](Point at) { clicked(at); })) {
        m_clicks.reset();
        return false;
    }
    m_sampler = new QTimer(this);
    m_sampler->setTimerType(Qt::PreciseTimer);
    connect(m_sampler, &QTimer::timeout, this, [this] { sampleForClicks(); });
    m_sampler->start(ClickCapture::kSampleIntervalMs);
    m_clickHint->setVisible(true);
    return true;
}

void CCaptureDialog::sampleForClicks() {
    if (!m_clicks)
        return;
    // A press already waiting is stored from the samples taken before it.
    if (m_hotKey)
        m_hotKey->processEvents();
    // A window of ours over the region would be in the samples; a click then grabs afresh,
    // with our windows hidden.
    if (!windowsOverRegion().empty()) {
        m_clicks->dropSamples();
        return;
    }
    if (!m_clicks->sample().ok())
        m_clicks->dropSamples();
}

void CCaptureDialog::clicked(Point screenPos) {
    if (!m_clicks || m_grabbing)
        return;
    // Clicks on our own windows are for them, not for the tutorial.
    if (QApplication::topLevelAt(QPoint(screenPos.x, screenPos.y)))
        return;
    const auto pressedAt = ClickCapture::Clock::now();
    const bool samplesUsable = windowsOverRegion().empty();
    bool stored = false;
    Status status;
    grabWithoutOurWindows([&] {
        status = m_clicks->click(screenPos, pressedAt, stored, samplesUsable);
        return status.ok();
    });
    if (!status.ok()) {
        const QString text = QString::fromStdString(status.message());
        if (m_message)
            m_message(text);
        else
            QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
        return;
    }
    if (stored)
        showCaptured();
}

void CCaptureDialog::showCaptured() {
    m_tray->stepAnimation();
    setWindowTitle(QString::fromStdString(capturedFramesCaption(m_session->counter())));
    showCounter();
}

void CCaptureDialog::showCounter() {
    m_counter->setText(QString::number(m_session->counter()));
}

void CCaptureDialog::stopTimed() {
    const bool wasRunning = m_session->timedCaptureRunning() || m_timer->isActive();
    m_session->stopTimedCapture();
    m_timer->stop();
    if (wasRunning)
        m_tray->setIconList(trayIcon::Idle, trayIcon::Grab);
}

void CCaptureDialog::showFailure() {
    stopTimed();
    const QString text = QString::fromStdString(m_session->takeError());
    if (m_message)
        m_message(text);
    else
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
}

void CCaptureDialog::endSession() {
    stopTimed();
    if (m_mainWindow && m_mainWindowHidden)
        m_mainWindow->show();
    m_mainWindowHidden = false;
    if (m_sampler)
        m_sampler->stop();
    if (m_hotKey && m_clicks)
        m_hotKey->watchClicks(nullptr);
    m_clicks.reset();
    if (m_hotKey)
        m_hotKey->stop();
    m_hotKeyArmed = false;
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}

void CCaptureDialog::finish() {
    endSession();
    if (m_session->counter() > 0)
        QDialog::accept();
    else
        QDialog::reject();
}

void CCaptureDialog::reject() {
    stopTimed();
    if (m_session->counter() > 0) {
        const QString question = QString::fromUtf8(captureText::ConfirmDiscardCapture);
        const bool yes = m_confirm ? m_confirm(question) : askDiscard(this, question);
        if (!yes)
            return;
    }
    endSession();
    QDialog::reject();
}

void CCaptureDialog::minimizeToTray() {
    // A hidden dialog with no icon to reopen it could never be found again.
    if (!m_trayShown()) {
        if (!isMinimized())
            showMinimized();
        return;
    }
    m_minimizedToTray = true;
    hide();
    if (m_mainWindow && m_mainWindowWasVisible)
        m_mainWindow->hide();
}

void CCaptureDialog::restoreFromTray() {
    m_minimizedToTray = false;
    if (m_mainWindow && m_mainWindowWasVisible && !m_mainWindowHidden)
        m_mainWindow->show();
    showNormal();
    raise();
    activateWindow();
}

void CCaptureDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        // Hiding from inside the state change confuses some window managers: do it next.
        QPointer<CCaptureDialog> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self && self->isMinimized() && self->m_trayShown())
                self->minimizeToTray();
        });
    } else if (m_minimizedToTray && isVisible()) {
        restoreFromTray();
    }
}

}  // namespace quib

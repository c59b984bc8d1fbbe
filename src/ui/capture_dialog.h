#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "base/geometry.h"

class QLabel;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace quib {

class CaptureSession;
class ClickCapture;
class CQuibDoc;
class CSystemTray;
class GlobalHotKey;
class ScreenGrabber;

// "Wizard Nuovo progetto - Passo 2 di 2": the capture controller. Grabs on Pause (or the tray
// menu's "Avvia la cattura", or its own "&Cattura" button when the keys cannot be used), runs
// timed capture after Shift+Pause, keeps the main window disabled while open, and can hide itself
// (and the main window) in the notification area. Ends with OK by "&Termina" when frames were
// captured, else with cancel.
//
// Hiding a dialog ends QDialog::exec(), so it must be run with runCaptureDialog().
class CCaptureDialog : public QDialog {
public:
    // The commands of the dialog and of its tray menu.
    enum Command {
        CaptureToggle = 1000,
        Finish = 217,
        Cancel = 2,
        MinimizeToTray = 1091,
        RestoreFromTray = 61326
    };

    // hotKey may be null (no X11 display): the dialog and the tray menu still capture. problem
    // is shown when the keys cannot be used.
    CCaptureDialog(ScreenGrabber& grabber, GlobalHotKey* hotKey, CQuibDoc& doc, const Rect& region,
                   bool timedCaptureEnabled, int rate, QWidget* mainWindow,
                   const QString& problem = QString());
    ~CCaptureDialog() override;

    // The question of "&Annulla"; replaceable so that tests need no modal box.
    void setConfirmFunction(std::function<bool(const QString&)> confirm) { m_confirm = std::move(confirm); }
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }
    // Whether Shift is held when command 1000 arrives; replaceable for tests.
    void setShiftFunction(std::function<bool()> shiftDown) { m_shiftDown = std::move(shiftDown); }
    // Whether the tray icon is there to bring the dialog back (by default: the icon is shown).
    // Without it, minimizing leaves the dialog minimized instead of hiding it.
    void setTrayShownFunction(std::function<bool()> shown) { m_trayShown = std::move(shown); }

    // Runs a command as the buttons, the tray menu and the keys do.
    void runCommand(int command);
    bool commandEnabled(int command) const;

    // Command 1000: a single grab, or with shift stops/starts timed capture.
    void toggleCapture(bool shift);
    void finish();           // "&Termina"
    void reject() override;  // "&Annulla"
    // One tick of timed capture: the next animation icon, then a grab.
    void timedTick();
    void minimizeToTray();
    void restoreFromTray();
    bool minimizedToTray() const { return m_minimizedToTray; }
    bool hotKeyArmed() const { return m_hotKeyArmed; }

    CaptureSession& session() { return *m_session; }
    QLabel* counterLabel() const { return m_counter; }
    QPushButton* captureButton() const { return m_captureButton; }
    CSystemTray& tray() const { return *m_tray; }
    QTimer* timer() const { return m_timer; }
    // "Cattura a ogni clic": every press of a mouse button in the region, outside our windows,
    // grabs a frame as the screen was before it. False where presses cannot be heard.
    bool startClickCapture();
    bool clickCaptureRunning() const { return m_clicks != nullptr; }
    // A press at a screen point, as the keys' connection reports it.
    void clicked(Point screenPos);
    // One sample of the screen for click capture.
    void sampleForClicks();
    // Whether the dialog stands beside the region; otherwise it is hidden for each grab.
    bool placedOutsideRegion() const { return m_placedOutside; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void grabOnce();
    void stopTimed();
    void showFailure();
    void endSession();
    void showCounter();
    // Runs grab with no window of ours over the region: those that cover it are hidden for it.
    bool grabWithoutOurWindows(const std::function<bool()>& grab);
    std::vector<QWidget*> windowsOverRegion() const;
    void showCaptured();

    std::unique_ptr<CaptureSession> m_session;
    std::unique_ptr<ClickCapture> m_clicks;
    QTimer* m_sampler = nullptr;
    QLabel* m_clickHint = nullptr;
    ScreenGrabber& m_grabber;
    Rect m_region;
    bool m_placedOutside = false;
    bool m_grabbing = false;
    CQuibDoc& m_doc;
    GlobalHotKey* m_hotKey;
    QWidget* m_mainWindow;
    bool m_mainWindowWasVisible = false;
    bool m_mainWindowHidden = false;  // hidden for the session because it lay over the region
    bool m_minimizedToTray = false;
    bool m_hotKeyArmed = false;
    QLabel* m_counter = nullptr;
    QPushButton* m_captureButton = nullptr;
    QTimer* m_timer = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    std::unique_ptr<CSystemTray> m_tray;
    std::function<bool(const QString&)> m_confirm;
    std::function<void(const QString&)> m_message;
    std::function<bool()> m_shiftDown;
    std::function<bool()> m_trayShown;
};

// Shows the dialog application-modal and waits until it is done (hiding it into the
// notification area does not end the wait); returns its result.
int runCaptureDialog(QDialog& dialog);

}  // namespace quib

#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "base/geometry.h"

class QLabel;
class QSocketNotifier;
class QSystemTrayIcon;
class QTimer;

namespace quib {

class CaptureSession;
class CQuibDoc;
class GlobalHotKey;
class ScreenGrabber;

// "Wizard Nuovo progetto - Passo 2 di 2": the capture controller. Grabs on Pause (or the tray
// menu's "Avvia la cattura"), runs timed capture after Shift+Pause, keeps the main window disabled
// while open. Ends with OK by "&Termina" when frames were captured, else with cancel.
class CCaptureDialog : public QDialog {
public:
    // hotKey may be null (no X11 display): the dialog and the tray menu still capture.
    CCaptureDialog(ScreenGrabber& grabber, GlobalHotKey* hotKey, CQuibDoc& doc, const Rect& region,
                   bool timedCaptureEnabled, int rate, QWidget* mainWindow);
    ~CCaptureDialog() override;

    // The question of "&Annulla"; replaceable so that tests need no modal box.
    void setConfirmFunction(std::function<bool(const QString&)> confirm) { m_confirm = std::move(confirm); }
    void setMessageFunction(std::function<void(const QString&)> show) { m_message = std::move(show); }

    // Command 1000: a single grab, or with shift stops/starts timed capture.
    void toggleCapture(bool shift);
    void finish();          // "&Termina"
    void reject() override; // "&Annulla"
    CaptureSession& session() { return *m_session; }
    QLabel* counterLabel() const { return m_counter; }

private:
    void grabOnce();
    void stopTimed();
    void showFailure();
    void endSession();

    std::unique_ptr<CaptureSession> m_session;
    GlobalHotKey* m_hotKey;
    QWidget* m_mainWindow;
    QLabel* m_counter = nullptr;
    QTimer* m_timer = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    std::function<bool(const QString&)> m_confirm;
    std::function<void(const QString&)> m_message;
};

}  // namespace quib

#include "capture_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>

#include "capture/capture_region_rules.h"
#include "capture/capture_session.h"
#include "model/quib_doc.h"

namespace quib {

CCaptureDialog::CCaptureDialog(ScreenGrabber& grabber, GlobalHotKey* hotKey, CQuibDoc& doc,
                               const Rect& region, bool timedCaptureEnabled, int rate, QWidget* mainWindow)
    : QDialog(nullptr),
      m_session(std::make_unique<CaptureSession>(grabber, doc, region, rate)),
      m_hotKey(hotKey),
      m_mainWindow(mainWindow) {
    setWindowTitle(QStringLiteral("Wizard Nuovo progetto - Passo 2 di 2"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Cattura una schermata - \"Pausa\""), this));
    auto* hint = new QLabel(QString::fromUtf8(captureText::TimedCaptureHint), this);
    hint->setVisible(timedCaptureEnabled);
    layout->addWidget(hint);
    auto* counterRow = new QHBoxLayout;
    counterRow->addWidget(new QLabel(QStringLiteral("Frames catturati:"), this));
    m_counter = new QLabel(QString::number(doc.frameCount()), this);
    counterRow->addWidget(m_counter);
    layout->addLayout(counterRow);
    auto* buttons = new QHBoxLayout;
    auto* finishButton = new QPushButton(QStringLiteral("&Termina"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    buttons->addWidget(finishButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(finishButton, &QPushButton::clicked, this, [this] { finish(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { reject(); });

    if (m_mainWindow)
        m_mainWindow->setEnabled(false);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (!m_session->tick() && !m_session->lastError().empty())
            showFailure();
        m_counter->setText(QString::number(m_session->counter()));
    });

    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray = new QSystemTrayIcon(style()->standardIcon(QStyle::SP_ComputerIcon), this);
        m_tray->setToolTip(QString::fromUtf8(captureText::TrayTip));
        auto* menu = new QMenu(this);
        QAction* start = menu->addAction(QStringLiteral("Avvia la cattura"), this, [this] { toggleCapture(false); });
        QFont bold = start->font();
        bold.setBold(true);
        start->setFont(bold);
        menu->addSeparator();
        menu->addAction(QStringLiteral("&Termina la cattura"), this, [this] { finish(); });
        menu->addAction(QStringLiteral("&Annulla la cattura"), this, [this] { reject(); });
        menu->addSeparator();
        menu->addAction(QStringLiteral("&Minimizza nell'area di notifica"), this, [this] { hide(); });
        menu->addAction(QStringLiteral("&Riapri la finestra di cattura"), this, [this] {
            showNormal();
            activateWindow();
        });
        m_tray->setContextMenu(menu);
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick)
                toggleCapture(false);
        });
        m_tray->show();
    }

    if (m_hotKey && m_hotKey->start([this](HotKeyAction action) {
            toggleCapture(action == HotKeyAction::ToggleTimedCapture);
        }).ok()) {
        m_notifier = new QSocketNotifier(m_hotKey->fileDescriptor(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            m_hotKey->processEvents();
            if (!m_hotKey->isActive())
                m_notifier->setEnabled(false);
        });
    }
}

CCaptureDialog::~CCaptureDialog() {
    if (m_hotKey)
        m_hotKey->stop();
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
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
}

void CCaptureDialog::grabOnce() {
    setWindowTitle(QStringLiteral("Cattura..."));
    if (!m_session->captureOnce())
        showFailure();
    setWindowTitle(QString::fromStdString(capturedFramesCaption(m_session->counter())));
    m_counter->setText(QString::number(m_session->counter()));
}

void CCaptureDialog::stopTimed() {
    m_session->stopTimedCapture();
    m_timer->stop();
}

void CCaptureDialog::showFailure() {
    m_timer->stop();
    const QString text = QString::fromStdString(m_session->takeError());
    if (m_message)
        m_message(text);
    else
        QMessageBox::warning(this, QStringLiteral("Quib"), text);
}

void CCaptureDialog::endSession() {
    stopTimed();
    if (m_hotKey)
        m_hotKey->stop();
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
        const bool yes = m_confirm ? m_confirm(question)
                                   : QMessageBox::question(this, QStringLiteral("Quib"), question,
                                                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        if (!yes)
            return;
    }
    endSession();
    QDialog::reject();
}

}  // namespace quib

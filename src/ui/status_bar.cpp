#include "status_bar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "base/strings.h"
#include "capture_backends.h"

namespace quib {

namespace {
QLabel* indicatorPane(QWidget* parent, const QString& sizeText) {
    auto* label = new QLabel(parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(sizeText) + 8);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}
}  // namespace

QuibStatusBar::QuibStatusBar(QWidget* parent) : QStatusBar(parent) {
    m_message = new QLabel(this);
    m_message->setMinimumWidth(1);
    addWidget(m_message, 1);
    // The project panes are as wide as 36 spaces, the width their texts are laid out for.
    const QString paneWidth(36, QLatin1Char(' '));
    m_editorInfo = indicatorPane(this, paneWidth);
    m_frameNumber = indicatorPane(this, paneWidth);
    m_sizes = indicatorPane(this, paneWidth);
    m_caps = indicatorPane(this, QStringLiteral("MAIUSC"));
    m_num = indicatorPane(this, QStringLiteral("NUM"));
    m_caps->setAlignment(Qt::AlignCenter);
    m_num->setAlignment(Qt::AlignCenter);
    for (QLabel* pane : {m_editorInfo, m_frameNumber, m_sizes, m_caps, m_num})
        addPermanentWidget(pane);
    showIdleText();
    refreshLockIndicators();
    if (qApp)
        qApp->installEventFilter(this);
}

QLabel* QuibStatusBar::pane(Pane id) const {
    switch (id) {
        case EditorInfo:
            return m_editorInfo;
        case FrameNumber:
            return m_frameNumber;
        case Sizes:
            return m_sizes;
    }
    return nullptr;
}

void QuibStatusBar::setPaneText(Pane id, const QString& text) {
    if (QLabel* label = pane(id))
        label->setText(text);
}

void QuibStatusBar::clearProjectPanes() {
    for (QLabel* label : {m_editorInfo, m_frameNumber, m_sizes})
        label->clear();
}

void QuibStatusBar::showIdleText() {
    m_message->setText(QString::fromUtf8(stringText(str::Ready)));
}

void QuibStatusBar::setLockIndicators(bool capsLock, bool numLock) {
    // An indicator shows its text only while the lock is on, so the pane keeps its place.
    m_caps->setText(capsLock ? QStringLiteral("MAIUSC") : QString());
    m_num->setText(numLock ? QStringLiteral("NUM") : QString());
}

bool QuibStatusBar::capsLockShown() const {
    return !m_caps->text().isEmpty();
}
bool QuibStatusBar::numLockShown() const {
    return !m_num->text().isEmpty();
}

void QuibStatusBar::refreshLockIndicators() {
    if (!m_lockKeys)
        m_lockKeys = openLockKeyReader(applicationCaptureChoice());
    const LockKeys keys = m_lockKeys->read();
    if (keys.known)
        setLockIndicators(keys.capsLock, keys.numLock);
}

bool QuibStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock)
            refreshLockIndicators();
    } else if (event->type() == QEvent::ApplicationStateChange) {
        refreshLockIndicators();
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace quib

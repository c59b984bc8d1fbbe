#include "status_bar.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <cmath>

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
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("ZoomBox"));
    m_zoom->setToolTip(QStringLiteral("Zoom"));
    m_zoom->setFocusPolicy(Qt::NoFocus);
    m_zoom->addItem(QStringLiteral("Adatta alla finestra"), 0.0);
    for (int percent : {25, 33, 50, 67, 75, 100, 150, 200, 300, 400, 600, 800})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent == 33   ? 1.0 / 3
                                                            : percent == 67 ? 2.0 / 3
                                                                            : percent / 100.0);
    m_zoom->setEnabled(false);
    connect(m_zoom, &QComboBox::activated, this, [this](int index) {
        if (zoomChosen)
            zoomChosen(m_zoom->itemData(index).toDouble());
    });
    addPermanentWidget(m_zoom);
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

void QuibStatusBar::showNote(const QString& text) {
    m_message->setText(text);
    QTimer::singleShot(8000, this, [this, text] {
        if (m_message->text() == text)
            showIdleText();
    });
}

void QuibStatusBar::showZoom(double scale, bool fit) {
    m_zoom->setEnabled(scale > 0);
    if (scale <= 0)
        return;
    const QString percent = QStringLiteral("%1%").arg(std::lround(scale * 100));
    // Fitted, the box says so and the level in use shows as its tool tip.
    int index = fit ? 0 : m_zoom->findText(percent);
    if (index < 0) {
        m_zoom->setItemText(0, percent);
        index = 0;
    } else if (!fit) {
        m_zoom->setItemText(0, QStringLiteral("Adatta alla finestra"));
    }
    if (fit)
        m_zoom->setItemText(0, QStringLiteral("Adatta alla finestra"));
    m_zoom->setCurrentIndex(index);
    m_zoom->setToolTip(QStringLiteral("Zoom: %1").arg(percent));
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

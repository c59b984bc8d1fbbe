#include "progress_bar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "status_bar.h"

namespace quib {

CProgressBar::CProgressBar(QuibStatusBar* statusBar, const QString& text, int sizePercent, int maximum,
                           bool smooth)
    : m_text(text), m_sizePercent(std::clamp(sizePercent, 0, 100)) {
    if (!statusBar || !statusBar->isVisible())
        return;
    m_statusBar = statusBar;
    m_bar = new QProgressBar(statusBar->messagePane());
    m_bar->setRange(0, maximum);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    if (!smooth)
        m_bar->setStyleSheet(QStringLiteral("QProgressBar::chunk { width: 8px; margin: 1px; }"));
    m_bar->hide();
    SetText(text);
}

CProgressBar::~CProgressBar() {
    if (m_bar)
        delete m_bar.data();
    if (m_statusBar)
        m_statusBar->showIdleText();
}

void CProgressBar::SetText(const QString& text) {
    m_text = text;
    if (!m_statusBar)
        return;
    m_statusBar->clearMessage();
    m_statusBar->messagePane()->setText(text);
    layoutInPane();
}

void CProgressBar::SetRange(int low, int high) {
    if (m_bar)
        m_bar->setRange(low, high);
}

void CProgressBar::SetPos(int position) {
    QCoreApplication::processEvents();
    if (!m_bar)
        return;
    layoutInPane();
    m_bar->show();
    m_bar->setValue(position);
}

void CProgressBar::StepIt() {
    if (m_bar)
        SetPos(m_bar->value() < m_bar->minimum() ? m_bar->minimum() + 1 : m_bar->value() + 1);
}

bool CProgressBar::isShown() const {
    return m_bar && m_bar->isVisible();
}

void CProgressBar::layoutInPane() {
    if (!m_bar || !m_statusBar)
        return;
    QLabel* pane = m_statusBar->messagePane();
    const QFontMetrics metrics = pane->fontMetrics();
    int left = 0;
    if (!m_text.isEmpty())
        left = metrics.horizontalAdvance(m_text) + 4 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = (pane->width() - left) * m_sizePercent / 100;
    const int inset = pane->height() / 10;
    m_bar->setGeometry(left, inset, std::max(0, width), std::max(0, pane->height() - 2 * inset));
}

}  // namespace quib

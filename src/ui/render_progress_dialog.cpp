#include "render_progress_dialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quib {

namespace {
int64_t processMilliseconds() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}
}  // namespace

RenderProgressDialog::RenderProgressDialog(QWidget* parent, Clock clock)
    : QDialog(parent), m_clock(clock ? std::move(clock) : Clock(processMilliseconds)) {
    setWindowTitle(QStringLiteral("Rendering..."));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_percent = new QLabel(QStringLiteral("0 %"), this);
    m_percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    m_elapsed = new QLabel(this);
    m_remaining = new QLabel(this);
    m_cancel = new QPushButton(QStringLiteral("&Annulla"), this);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Stato di completamento"), this), 0, 0, 1, 2);
    grid->addWidget(m_bar, 1, 0);
    grid->addWidget(m_percent, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Tempo trascorso:"), this), 2, 0);
    grid->addWidget(m_elapsed, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Stima tempo residuo:"), this), 3, 0);
    grid->addWidget(m_remaining, 3, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    setMinimumWidth(340);

    m_start = m_clock();
    if (parent && parent->isEnabled()) {
        parent->setEnabled(false);
        m_disabledParent = parent;
        // The dialog stays usable while its parent is disabled.
        setEnabled(true);
    }
    show();
}

RenderProgressDialog::~RenderProgressDialog() {
    if (m_disabledParent)
        m_disabledParent->setEnabled(true);
}

void RenderProgressDialog::setTitle(const QString& title) {
    setWindowTitle(title);
}

void RenderProgressDialog::setText(const std::string& text) {
    setTitle(QString::fromStdString(text));
}

void RenderProgressDialog::setRange(int low, int high) {
    m_low = low;
    m_high = high;
    m_bar->setRange(low, std::max(low, high));
}

int RenderProgressDialog::percentage(int low, int high, int position) {
    if (high == low || position == high)
        return 100;
    // 64-bit, so wide ranges do not overflow.
    return int((int64_t(position) - low) * 100 / (int64_t(high) - low));
}

QString RenderProgressDialog::durationText(int64_t seconds) {
    if (seconds < 60)
        return QStringLiteral("%1 secs").arg(seconds);
    return QStringLiteral("%1 min, %2 secs").arg(seconds / 60).arg(seconds % 60);
}

void RenderProgressDialog::setPosition(int position) {
    QCoreApplication::processEvents();
    m_bar->setValue(position);
    m_percent->setText(QStringLiteral("%1%").arg(percentage(m_low, m_high, position)));
    if (position == 0) {
        m_start = m_clock();
        m_elapsed->setText(durationText(0));
        return;
    }
    const double elapsed = double(m_clock() - m_start) * 0.001;
    m_elapsed->setText(durationText(int64_t(elapsed)));
    const double remaining = double(m_high) * elapsed / position - elapsed;
    m_remaining->setText(durationText(int64_t(remaining)));
}

QString RenderProgressDialog::percentText() const {
    return m_percent->text();
}
QString RenderProgressDialog::elapsedText() const {
    return m_elapsed->text();
}
QString RenderProgressDialog::remainingText() const {
    return m_remaining->text();
}

void RenderProgressDialog::reject() {
    m_cancelled = true;
}

}  // namespace quib

#include "windows_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "child_frame.h"
#include "project_document.h"

namespace quib {

namespace {
bool saveProjectWindow(QMdiSubWindow* window) {
    auto* child = qobject_cast<QWidget*>(window->widget());
    if (auto* frame = dynamic_cast<CChildFrame*>(child))
        return frame->document() && frame->document()->save();
    return false;
}
}  // namespace

WindowsDialog::WindowsDialog(QMdiArea& area, std::function<bool(QMdiSubWindow*)> save, QWidget* parent)
    : QDialog(parent), m_area(area), m_saveWindow(save ? std::move(save) : saveProjectWindow) {
    setWindowTitle(QStringLiteral("Finestre"));
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setMinimumWidth(260);

    auto button = [this](const QString& text, void (WindowsDialog::*action)()) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
        return b;
    };
    m_activate = button(QStringLiteral("&Attiva"), &WindowsDialog::activateSelected);
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    m_save = button(QStringLiteral("&Salva"), &WindowsDialog::saveSelected);
    m_close = button(QStringLiteral("&Chiudi finestra(e)"), &WindowsDialog::closeSelected);
    m_minimize = button(QStringLiteral("Riduci a icona"), &WindowsDialog::minimizeSelected);
    m_cascade = button(QStringLiteral("Sovrapponi"), &WindowsDialog::cascadeSelected);
    m_tileHorizontally = new QPushButton(QStringLiteral("Affianca &orizz."), this);
    connect(m_tileHorizontally, &QPushButton::clicked, this, [this] { tileSelected(true); });
    m_tileVertically = new QPushButton(QStringLiteral("Affianca &vertic."), this);
    connect(m_tileVertically, &QPushButton::clicked, this, [this] { tileSelected(false); });

    auto* column = new QVBoxLayout;
    for (QPushButton* b :
         {m_activate, ok, m_save, m_close, m_minimize, m_cascade, m_tileHorizontally, m_tileVertically})
        column->addWidget(b);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(column);

    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    rebuild();
}

QList<QMdiSubWindow*> WindowsDialog::selectedWindows() const {
    QList<QMdiSubWindow*> chosen;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected() && row < m_windows.size())
            chosen << m_windows[row];
    return chosen;
}

void WindowsDialog::selectWindows(const QList<QMdiSubWindow*>& windows) {
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setSelected(windows.contains(m_windows.value(row)));
    updateButtons();
}

void WindowsDialog::rebuild() {
    const QList<QMdiSubWindow*> keep =
        m_windows.isEmpty() ? QList<QMdiSubWindow*>{m_area.activeSubWindow()} : selectedWindows();
    m_windows = m_area.subWindowList();
    m_list->clear();
    for (QMdiSubWindow* window : m_windows) {
        auto* item = new QListWidgetItem(window->windowIcon(), window->windowTitle(), m_list);
        item->setSelected(keep.contains(window));
    }
    updateButtons();
}

void WindowsDialog::updateButtons() {
    const qsizetype count = selectedWindows().size();
    m_activate->setEnabled(count == 1);
    for (QPushButton* b : {m_save, m_close, m_minimize})
        b->setEnabled(count >= 1);
    for (QPushButton* b : {m_cascade, m_tileHorizontally, m_tileVertically})
        b->setEnabled(count >= 2);
}

void WindowsDialog::activateSelected() {
    const QList<QMdiSubWindow*> chosen = selectedWindows();
    if (chosen.size() != 1)
        return;
    if (chosen.first()->isMinimized())
        chosen.first()->showNormal();
    m_area.setActiveSubWindow(chosen.first());
    accept();
}

void WindowsDialog::saveSelected() {
    for (QMdiSubWindow* window : selectedWindows())
        m_saveWindow(window);
    rebuild();
}

void WindowsDialog::closeSelected() {
    QList<QPointer<QMdiSubWindow>> chosen;
    for (QMdiSubWindow* window : selectedWindows())
        chosen << window;
    for (const QPointer<QMdiSubWindow>& window : chosen)
        if (window)
            window->close();
    rebuild();
}

void WindowsDialog::minimizeSelected() {
    for (QMdiSubWindow* window : selectedWindows())
        window->showMinimized();
    rebuild();
}

QList<QMdiSubWindow*> WindowsDialog::restoreOnlySelected() {
    const QList<QMdiSubWindow*> chosen = selectedWindows();
    for (QMdiSubWindow* window : m_windows) {
        if (chosen.contains(window))
            window->showNormal();
        else
            window->showMinimized();
    }
    return chosen;
}

void WindowsDialog::cascadeSelected() {
    const QList<QMdiSubWindow*> chosen = restoreOnlySelected();
    if (chosen.size() < 2)
        return;
    const QRect area = m_area.viewport()->rect();
    const int step = 24;
    const QSize size(std::max(area.width() * 3 / 4, 100), std::max(area.height() * 3 / 4, 80));
    for (int i = 0; i < chosen.size(); ++i) {
        chosen[i]->setGeometry(QRect(QPoint(i * step, i * step), size));
        chosen[i]->raise();
    }
}

void WindowsDialog::tileSelected(bool horizontally) {
    const QList<QMdiSubWindow*> chosen = restoreOnlySelected();
    const int n = int(chosen.size());
    if (n < 2)
        return;
    const QRect area = m_area.viewport()->rect();
    for (int i = 0; i < n; ++i) {
        QRect band;
        if (horizontally) {
            const int top = area.height() * i / n;
            band = QRect(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            band = QRect(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
        chosen[i]->setGeometry(band);
    }
}

}  // namespace quib

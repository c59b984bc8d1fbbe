#include "capture_tray.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <cmath>

namespace quib {

namespace {

// A small camera; the lens lit while a grab runs.
void drawCamera(QPainter& p, bool lensLit) {
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
    p.setBrush(QColor(50, 80, 130));
    p.drawRect(QRectF(10, 5, 10, 5));
    p.setBrush(lensLit ? QColor(255, 230, 90) : QColor(220, 225, 235));
    p.drawEllipse(QPointF(16, 18), 6, 6);
    p.setBrush(lensLit ? QColor(255, 160, 0) : QColor(40, 40, 50));
    p.drawEllipse(QPointF(16, 18), 2.5, 2.5);
}

// Timed capture: the camera with a red mark going round the lens, one quarter per turn.
void drawTurn(QPainter& p, int turn) {
    drawCamera(p, false);
    const double angle = (turn * 90.0 - 90.0) * M_PI / 180.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 20, 20));
    p.drawEllipse(QPointF(16 + 8.5 * std::cos(angle), 18 + 8.5 * std::sin(angle)), 3, 3);
    p.drawEllipse(QPointF(26, 6), 3, 3);
}
}  // namespace

QIcon CSystemTray::iconPicture(int iconId) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (iconId >= trayIcon::FirstTimed && iconId <= trayIcon::LastTimed)
        drawTurn(painter, iconId - trayIcon::FirstTimed);
    else
        drawCamera(painter, iconId == trayIcon::Grab);
    painter.end();
    return QIcon(pixmap);
}

CSystemTray::CSystemTray(QObject* owner, const QString& tip, int iconId, const std::vector<MenuItem>& menu)
    : m_shownId(iconId) {
    m_menu = new QMenu();
    for (const MenuItem& item : menu) {
        if (item.command == 0) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(item.text);
        action->setData(item.command);
        const int command = item.command;
        QObject::connect(action, &QAction::triggered, m_menu, [this, command] {
            if (m_run)
                m_run(command);
        });
        m_actions.push_back(action);
    }
    if (!m_actions.empty()) {
        QFont bold = m_actions[size_t(m_defaultPosition)]->font();
        bold.setBold(true);
        m_actions[size_t(m_defaultPosition)]->setFont(bold);
        m_menu->setDefaultAction(m_actions[size_t(m_defaultPosition)]);
    }
    QObject::connect(m_menu, &QMenu::aboutToShow, m_menu, [this] { updateMenu(); });

    // Without a notification area the icon counts as hidden and removed.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(iconPicture(iconId), owner);
        m_icon->setToolTip(tip.left(63));
        m_icon->setContextMenu(m_menu);
        QObject::connect(m_icon, &QSystemTrayIcon::activated, m_icon,
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::DoubleClick)
                                 doubleClicked();
                         });
        m_icon->show();
    }
}

CSystemTray::~CSystemTray() {
    if (m_icon) {
        m_icon->hide();
        delete m_icon;
    }
    delete m_menu;
}

void CSystemTray::setNotificationTarget(CommandFunction run, EnabledFunction enabled) {
    m_run = std::move(run);
    m_enabled = std::move(enabled);
}

bool CSystemTray::setIconList(int firstId, int lastId) {
    if (firstId > lastId)
        return false;
    m_iconIds.clear();
    for (int id = firstId; id <= lastId; ++id)
        m_iconIds.push_back(id);
    // The icon shown stays until the next step of the animation.
    m_index = 0;
    return true;
}

void CSystemTray::stepAnimation() {
    if (m_iconIds.empty())
        return;
    m_index = (m_index + 1) % m_iconIds.size();
    m_shownId = m_iconIds[m_index];
    if (m_icon)
        m_icon->setIcon(iconPicture(m_shownId));
}

bool CSystemTray::visible() const {
    return m_icon && m_icon->isVisible();
}

QAction* CSystemTray::menuAction(int command) const {
    for (QAction* action : m_actions)
        if (action->data().toInt() == command)
            return action;
    return nullptr;
}

void CSystemTray::doubleClicked() {
    if (m_actions.empty() || !m_run)
        return;
    m_run(m_actions[size_t(m_defaultPosition)]->data().toInt());
}

void CSystemTray::updateMenu() {
    if (!m_enabled)
        return;
    for (QAction* action : m_actions)
        action->setEnabled(m_enabled(action->data().toInt()));
}

}  // namespace quib

#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <map>
#include <span>

#include "menu_layout.h"

class QAction;
class QMenu;
class QObject;
class QToolBar;
class QWidget;

namespace quib {

class CommandRouter;

// The QActions of every command of the table, keyed by command id. Triggering one calls the
// dispatcher with the id, so every menu item, key and toolbar button goes through the router.
class CommandActions {
public:
    CommandActions(QObject* owner, std::function<void(int)> dispatcher);

    QAction* action(int id) const;
    const std::map<int, QAction*>& actions() const { return m_actions; }

    // Enables and checks every action as the router says.
    void updateStates(const CommandRouter& router) const;

private:
    std::map<int, QAction*> m_actions;
};

// The menus built from a menu resource, with the places filled at run time.
struct BuiltMenus {
    QList<QMenu*> topLevel;
    QMenu* fileMenu = nullptr;    // holds the recent-projects entries
    QMenu* windowMenu = nullptr;  // holds the open-window list
    QAction* windowListAnchor = nullptr;
};

BuiltMenus buildMenus(std::span<const MenuItem> items, const CommandActions& actions, QWidget* parent);
void fillToolbar(QToolBar* toolbar, std::span<const int> ids, const CommandActions& actions);

// Tool tip of a command without its own prompt: the menu text without mnemonic and accelerator.
QString plainCommandText(const char* menuText);

}  // namespace quib

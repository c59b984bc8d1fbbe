#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QObject;
class QSystemTrayIcon;

namespace quib {

// The tray's icon ids: idle, a grab under way, and the turns of the timed-capture animation.
namespace trayIcon {
inline constexpr int Idle = 136;
inline constexpr int Grab = 137;
inline constexpr int FirstTimed = 164;
inline constexpr int LastTimed = 167;
}  // namespace trayIcon

// The capture session's notification-area icon: a tip, an animation through a range of icons,
// the "Tray" menu and the double click that runs the menu's default item (its first entry).
// Where the desktop has no notification area the object still keeps its state, shows nothing,
// and the session works without it.
class CSystemTray {
public:
    // A menu entry; command 0 is a separator.
    struct MenuItem {
        int command = 0;
        QString text;
    };
    using CommandFunction = std::function<void(int command)>;
    using EnabledFunction = std::function<bool(int command)>;

    CSystemTray(QObject* owner, const QString& tip, int iconId, const std::vector<MenuItem>& menu);
    ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Where menu commands and the double click go; enabled decides each entry when the menu opens.
    void setNotificationTarget(CommandFunction run, EnabledFunction enabled = {});

    // Loads the icons first..last, in order, for the next steps (the icon shown stays until then);
    // false (nothing done) when first > last.
    bool setIconList(int firstId, int lastId);
    // The next icon of the list, wrapping; nothing when the list is empty.
    void stepAnimation();
    int shownIconId() const { return m_shownId; }
    const std::vector<int>& iconList() const { return m_iconIds; }

    // Whether the desktop showed the icon.
    bool visible() const;
    QMenu* menu() const { return m_menu; }
    QAction* menuAction(int command) const;
    // The left double click: the default item's command.
    void doubleClicked();
    // Enables or disables the entries as the target says, as before the menu opens.
    void updateMenu();

    // The icon of a capture state, drawn at run time: 136 idle, 137 grabbing, 164..167 the turns
    // of the timed-capture animation.
    static QIcon iconPicture(int iconId);

private:
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    std::vector<QAction*> m_actions;
    std::vector<int> m_iconIds;
    size_t m_index = 0;
    int m_shownId = 0;
    int m_defaultPosition = 0;
    CommandFunction m_run;
    EnabledFunction m_enabled;
};

}  // namespace quib

#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "global_hot_key.h"
#include "unique_fd.h"

namespace quib {

// One shortcut as the portal holds it.
struct PortalShortcut {
    std::string id;
    std::string description;
    std::string trigger;  // the preferred trigger asked for, or the portal's description of the bound one
};

struct PortalShortcutsOptions {
    int callTimeoutMs = 10000;
    // Binding may show the desktop's own dialog, where the user confirms or changes the keys.
    int bindTimeoutMs = 300000;
};

// The capture keys through the desktop portal's global shortcuts, for Wayland sessions where no
// program sees the keys pressed in another's window. Both shortcuts are bound once, when opened;
// the portal's Activated signal arrives through Qt's event loop and is handed on through a file
// descriptor, so that the owner treats it as it treats the X11 keys.
class PortalGlobalShortcuts final : public QObject, public GlobalHotKey {
    Q_OBJECT
public:
    static inline const QString kCaptureId = QStringLiteral("capture-frame");
    static inline const QString kTimedId = QStringLiteral("timed-capture");

    // The shortcuts asked for: descriptions shown by the desktop, triggers in the desktop's syntax.
    static std::vector<PortalShortcut> requestedShortcuts();

    // Whether the desktop offers global shortcuts at all; asks nothing of the user.
    static bool offered(QDBusConnection bus, int timeoutMs);

    // Fails with an Italian message when the desktop offers no global shortcuts, refuses them, or
    // does not answer in time.
    static std::unique_ptr<PortalGlobalShortcuts> open(QDBusConnection bus,
                                                       const PortalShortcutsOptions& options, Status& status);
    ~PortalGlobalShortcuts() override;

    Status start(Callback callback) override;
    void stop() override;
    bool isActive() const override { return m_started && !m_closed; }
    int fileDescriptor() const override { return m_wake.get(); }
    void processEvents() override;

    // As the portal answered the binding.
    const std::vector<PortalShortcut>& boundShortcuts() const { return m_bound; }

private Q_SLOTS:
    void onActivated(const QDBusObjectPath& session, const QString& id);
    void onSessionClosed();

private:
    explicit PortalGlobalShortcuts(QDBusConnection bus) : m_bus(std::move(bus)) {}
    void wake();
    void close();

    QDBusConnection m_bus;
    QString m_session;
    UniqueFd m_wake;  // an eventfd, readable while presses wait
    Callback m_callback;
    std::vector<HotKeyAction> m_pending;
    std::vector<PortalShortcut> m_bound;
    bool m_started = false;
    bool m_closed = false;
};

}  // namespace quib

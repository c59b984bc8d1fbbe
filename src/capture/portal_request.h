#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include "base/status.h"

namespace quib {

// One call on the desktop portal whose answer comes later, as the Response signal of a Request
// object. Waits in a local event loop, so the program keeps drawing while the portal's own dialog
// is up, but never longer than the given time.
class PortalRequest final : public QObject {
    Q_OBJECT
public:
    struct Answer {
        Status status;
        QVariantMap results;
    };

    // Calls interface.method with args followed by options (a handle_token is added to them).
    static Answer call(QDBusConnection bus, const QString& interface, const QString& method,
                       QVariantList args, QVariantMap options, int timeoutMs);

    // The object path a portal gives a request or session made with this token.
    static QString handlePath(const QDBusConnection& bus, const QString& kind, const QString& token);
    static QString newToken();

Q_SIGNALS:
    void answered();

private Q_SLOTS:
    void onResponse(uint code, const QVariantMap& results);

private:
    PortalRequest() = default;
    bool m_answered = false;
    uint m_code = 2;
    QVariantMap m_results;
};

inline const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

}  // namespace quib

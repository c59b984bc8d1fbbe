#include "portal_global_shortcuts.h"

#include <sys/eventfd.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

#include "capture_messages.h"
#include "portal_request.h"

namespace {

// One element of the a(sa{sv}) the portal takes and gives.
struct ShortcutEntry {
    QString id;
    QVariantMap props;
};

QDBusArgument& operator<<(QDBusArgument& arg, const ShortcutEntry& e) {
    arg.beginStructure();
    arg << e.id << e.props;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, ShortcutEntry& e) {
    arg.beginStructure();
    arg >> e.id >> e.props;
    arg.endStructure();
    return arg;
}

}  // namespace

Q_DECLARE_METATYPE(ShortcutEntry)

namespace quib {

namespace {

const QString kGlobalShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<ShortcutEntry>();
        qDBusRegisterMetaType<QList<ShortcutEntry>>();
        return true;
    }();
    (void)registered;
}

// 0 when the desktop does not offer the interface.
uint32_t interfaceVersion(QDBusConnection& bus, int timeoutMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
    message.setArguments({kGlobalShortcuts, QStringLiteral("version")});
    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().first().value<QDBusVariant>().variant().toUInt();
}

std::vector<PortalShortcut> readShortcuts(const QVariant& value) {
    std::vector<PortalShortcut> shortcuts;
    if (!value.canConvert<QDBusArgument>())
        return shortcuts;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        ShortcutEntry entry;
        arg >> entry;
        shortcuts.push_back(
            {entry.id.toStdString(),
             entry.props.value(QStringLiteral("description")).toString().toStdString(),
             entry.props.value(QStringLiteral("trigger_description")).toString().toStdString()});
    }
    arg.endArray();
    return shortcuts;
}

}  // namespace

std::vector<PortalShortcut> PortalGlobalShortcuts::requestedShortcuts() {
    // Triggers use the desktop's shortcut syntax: modifier names in capitals, keys by keysym name.
    return {{kCaptureId.toStdString(), "Cattura un frame", "Pause"},
            {kTimedId.toStdString(), "Cattura temporizzata", "SHIFT+Pause"}};
}

bool PortalGlobalShortcuts::offered(QDBusConnection bus, int timeoutMs) {
    return bus.isConnected() && interfaceVersion(bus, timeoutMs) != 0;
}

std::unique_ptr<PortalGlobalShortcuts> PortalGlobalShortcuts::open(QDBusConnection bus,
                                                                   const PortalShortcutsOptions& options,
                                                                   Status& status) {
    registerTypes();
    if (!bus.isConnected() || interfaceVersion(bus, options.callTimeoutMs) == 0) {
        status = Status::failureText(captureText::PortalNoKeys);
        return nullptr;
    }
    std::unique_ptr<PortalGlobalShortcuts> keys(new PortalGlobalShortcuts(bus));
    keys->m_wake.reset(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!keys->m_wake.valid()) {
        status = Status::failureText(captureText::PortalKeysRefused);
        return nullptr;
    }

    const QString sessionToken = PortalRequest::newToken();
    PortalRequest::Answer answer =
        PortalRequest::call(bus, kGlobalShortcuts, QStringLiteral("CreateSession"), {},
                            {{QStringLiteral("session_handle_token"), sessionToken}}, options.callTimeoutMs);
    if (!answer.status) {
        status = answer.status.message() == captureText::PortalTimedOut
                     ? answer.status
                     : Status::failureText(captureText::PortalKeysRefused);
        return nullptr;
    }
    keys->m_session = answer.results.value(QStringLiteral("session_handle")).toString();
    if (keys->m_session.isEmpty())
        keys->m_session = PortalRequest::handlePath(bus, QStringLiteral("session"), sessionToken);

    // Listening before binding: a press may follow the binding at once.
    bus.connect(kPortalService, kPortalPath, kGlobalShortcuts, QStringLiteral("Activated"), keys.get(),
                SLOT(onActivated(QDBusObjectPath, QString)));
    bus.connect(kPortalService, keys->m_session, kSessionInterface, QStringLiteral("Closed"), keys.get(),
                SLOT(onSessionClosed()));

    QList<ShortcutEntry> wanted;
    for (const PortalShortcut& s : requestedShortcuts())
        wanted.append({QString::fromStdString(s.id),
                       {{QStringLiteral("description"), QString::fromStdString(s.description)},
                        {QStringLiteral("preferred_trigger"), QString::fromStdString(s.trigger)}}});
    answer = PortalRequest::call(
        bus, kGlobalShortcuts, QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(keys->m_session)), QVariant::fromValue(wanted), QString()}, {},
        options.bindTimeoutMs);
    if (!answer.status) {
        status = answer.status.message() == captureText::PortalTimedOut
                     ? answer.status
                     : Status::failureText(captureText::PortalKeysRefused);
        return nullptr;
    }
    keys->m_bound = readShortcuts(answer.results.value(QStringLiteral("shortcuts")));
    status = Status::success();
    return keys;
}

PortalGlobalShortcuts::~PortalGlobalShortcuts() {
    close();
}

void PortalGlobalShortcuts::close() {
    m_bus.disconnect(kPortalService, kPortalPath, kGlobalShortcuts, QStringLiteral("Activated"), this,
                     SLOT(onActivated(QDBusObjectPath, QString)));
    if (m_session.isEmpty())
        return;
    m_bus.disconnect(kPortalService, m_session, kSessionInterface, QStringLiteral("Closed"), this,
                     SLOT(onSessionClosed()));
    if (!m_closed)
        m_bus.call(QDBusMessage::createMethodCall(kPortalService, m_session, kSessionInterface,
                                                  QStringLiteral("Close")),
                   QDBus::NoBlock);
    m_session.clear();
}

Status PortalGlobalShortcuts::start(Callback callback) {
    if (m_closed)
        return Status::failureText(captureText::PortalKeysRefused);
    m_callback = std::move(callback);
    m_pending.clear();
    m_started = true;
    return Status::success();
}

void PortalGlobalShortcuts::stop() {
    m_started = false;
    m_callback = nullptr;
    m_pending.clear();
}

void PortalGlobalShortcuts::wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wake.get(), &one, sizeof(one));
}

void PortalGlobalShortcuts::onActivated(const QDBusObjectPath& session, const QString& id) {
    if (!m_started || session.path() != m_session)
        return;
    if (id == kCaptureId)
        m_pending.push_back(HotKeyAction::Capture);
    else if (id == kTimedId)
        m_pending.push_back(HotKeyAction::ToggleTimedCapture);
    else
        return;
    wake();
}

void PortalGlobalShortcuts::onSessionClosed() {
    m_closed = true;
    // Wakes the owner, which then sees the keys inactive.
    wake();
}

void PortalGlobalShortcuts::processEvents() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_wake.get(), &count, sizeof(count));
    const std::vector<HotKeyAction> pending = std::exchange(m_pending, {});
    for (const HotKeyAction action : pending) {
        // The callback may stop the keys.
        if (!m_started || !m_callback)
            break;
        m_callback(action);
    }
}

}  // namespace quib

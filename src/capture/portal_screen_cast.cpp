#include "portal_screen_cast.h"

#include <fcntl.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>

#include "capture_messages.h"
#include "portal_request.h"

namespace quib {

namespace {

const QString kScreenCast = QStringLiteral("org.freedesktop.portal.ScreenCast");
constexpr uint32_t kCursorEmbedded = 2;
constexpr uint32_t kCursorMetadata = 4;
// Kept until the user revokes it.
constexpr uint32_t kPersistUntilRevoked = 2;

bool readPair(const QVariant& value, int& a, int& b) {
    if (!value.canConvert<QDBusArgument>())
        return false;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginStructure();
    arg >> a >> b;
    arg.endStructure();
    return true;
}

// The first stream of the Start answer: a(ua{sv}).
bool readFirstStream(const QVariant& streams, PortalStream& stream) {
    if (!streams.canConvert<QDBusArgument>())
        return false;
    const QDBusArgument arg = streams.value<QDBusArgument>();
    bool found = false;
    arg.beginArray();
    while (!arg.atEnd()) {
        uint node = 0;
        QVariantMap props;
        arg.beginStructure();
        arg >> node >> props;
        arg.endStructure();
        if (found)
            continue;
        found = true;
        stream.nodeId = node;
        int a = 0, b = 0;
        if (readPair(props.value(QStringLiteral("position")), a, b))
            stream.position = Point{a, b};
        if (readPair(props.value(QStringLiteral("size")), a, b))
            stream.size = Size{a, b};
    }
    arg.endArray();
    return found;
}

}  // namespace

PortalScreenCast::~PortalScreenCast() {
    close();
}

uint32_t PortalScreenCast::property(const QString& name, int timeoutMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
    message.setArguments({kScreenCast, name});
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().first().value<QDBusVariant>().variant().toUInt();
}

void PortalScreenCast::close() {
    if (m_session.isEmpty())
        return;
    m_bus.call(QDBusMessage::createMethodCall(kPortalService, m_session,
                                              QStringLiteral("org.freedesktop.portal.Session"),
                                              QStringLiteral("Close")),
               QDBus::NoBlock);
    m_session.clear();
}

Status PortalScreenCast::start(const PortalScreenCastOptions& options, PortalStream& stream) {
    close();
    if (!m_bus.isConnected())
        return Status::failureText(captureText::PortalUnavailable);
    const uint32_t sourceTypes = property(QStringLiteral("AvailableSourceTypes"), options.callTimeoutMs);
    if ((sourceTypes & uint32_t(options.source)) == 0)
        return Status::failureText(captureText::PortalUnavailable);
    const uint32_t cursorModes = property(QStringLiteral("AvailableCursorModes"), options.callTimeoutMs);
    const uint32_t version = property(QStringLiteral("version"), options.callTimeoutMs);

    const QString sessionToken = PortalRequest::newToken();
    PortalRequest::Answer answer =
        PortalRequest::call(m_bus, kScreenCast, QStringLiteral("CreateSession"), {},
                            {{QStringLiteral("session_handle_token"), sessionToken}}, options.callTimeoutMs);
    if (!answer.status)
        return answer.status;
    m_session = answer.results.value(QStringLiteral("session_handle")).toString();
    if (m_session.isEmpty())
        m_session = PortalRequest::handlePath(m_bus, QStringLiteral("session"), sessionToken);

    stream.cursorMetadata = (cursorModes & kCursorMetadata) != 0;
    QVariantMap select{{QStringLiteral("types"), uint32_t(options.source)},
                       {QStringLiteral("multiple"), false}};
    if (cursorModes != 0)
        select.insert(QStringLiteral("cursor_mode"),
                      stream.cursorMetadata ? kCursorMetadata : kCursorEmbedded);
    if (version >= 4) {
        select.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
        if (!options.restoreToken.empty())
            select.insert(QStringLiteral("restore_token"), QString::fromStdString(options.restoreToken));
    }
    answer =
        PortalRequest::call(m_bus, kScreenCast, QStringLiteral("SelectSources"),
                            {QVariant::fromValue(QDBusObjectPath(m_session))}, select, options.callTimeoutMs);
    if (!answer.status)
        return answer.status;

    answer = PortalRequest::call(m_bus, kScreenCast, QStringLiteral("Start"),
                                 {QVariant::fromValue(QDBusObjectPath(m_session)), QString()}, {},
                                 options.choiceTimeoutMs);
    if (!answer.status)
        return answer.status;
    if (!readFirstStream(answer.results.value(QStringLiteral("streams")), stream))
        return Status::failureText(captureText::PortalRefused);
    stream.restoreToken = answer.results.value(QStringLiteral("restore_token")).toString().toStdString();

    QDBusMessage open = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kScreenCast,
                                                       QStringLiteral("OpenPipeWireRemote"));
    open.setArguments({QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap()});
    const QDBusMessage reply = m_bus.call(open, QDBus::Block, options.callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return Status::failureText(captureText::StreamFailed);
    const QDBusUnixFileDescriptor fd = reply.arguments().first().value<QDBusUnixFileDescriptor>();
    if (!fd.isValid())
        return Status::failureText(captureText::StreamFailed);
    stream.pipeWireFd.reset(fcntl(fd.fileDescriptor(), F_DUPFD_CLOEXEC, 3));
    if (!stream.pipeWireFd.valid())
        return Status::failureText(captureText::StreamFailed);
    return Status::success();
}

}  // namespace quib

#include "portal_request.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QTimer>
#include <atomic>

#include "capture_messages.h"

namespace quib {

namespace {

const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

Status statusOfCode(uint code) {
    if (code == 0)
        return Status::success();
    return Status::failureText(code == 1 ? captureText::PortalCancelled : captureText::PortalRefused);
}

}  // namespace

QString PortalRequest::newToken() {
    static std::atomic<int> counter{0};
    return QStringLiteral("quib%1").arg(++counter);
}

QString PortalRequest::handlePath(const QDBusConnection& bus, const QString& kind, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPortalPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') + token;
}

PortalRequest::Answer PortalRequest::call(QDBusConnection bus, const QString& interface,
                                          const QString& method, QVariantList args, QVariantMap options,
                                          int timeoutMs) {
    const QString token = newToken();
    options.insert(QStringLiteral("handle_token"), token);
    args.append(options);

    // Listen before calling: the answer may come before the call returns.
    PortalRequest waiter;
    QString path = handlePath(bus, QStringLiteral("request"), token);
    auto listen = [&](const QString& at) {
        return bus.connect(QString(), at, kRequestInterface, QStringLiteral("Response"), &waiter,
                           SLOT(onResponse(uint, QVariantMap)));
    };
    listen(path);

    QDBusMessage message = QDBusMessage::createMethodCall(kPortalService, kPortalPath, interface, method);
    message.setArguments(args);
    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
    Answer answer;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        bus.disconnect(QString(), path, kRequestInterface, QStringLiteral("Response"), &waiter,
                       SLOT(onResponse(uint, QVariantMap)));
        answer.status =
            Status::failureText(reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply")
                                    ? captureText::PortalTimedOut
                                    : captureText::PortalUnavailable);
        return answer;
    }
    const QString handle = reply.arguments().first().value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != path) {
        // An older portal picks its own path.
        bus.disconnect(QString(), path, kRequestInterface, QStringLiteral("Response"), &waiter,
                       SLOT(onResponse(uint, QVariantMap)));
        path = handle;
        listen(path);
    }
    if (!waiter.m_answered) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&waiter, &PortalRequest::answered, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
        loop.exec();
    }
    bus.disconnect(QString(), path, kRequestInterface, QStringLiteral("Response"), &waiter,
                   SLOT(onResponse(uint, QVariantMap)));
    if (!waiter.m_answered) {
        bus.call(
            QDBusMessage::createMethodCall(kPortalService, path, kRequestInterface, QStringLiteral("Close")),
            QDBus::NoBlock);
        answer.status = Status::failureText(captureText::PortalTimedOut);
        return answer;
    }
    answer.status = statusOfCode(waiter.m_code);
    answer.results = waiter.m_results;
    return answer;
}

void PortalRequest::onResponse(uint code, const QVariantMap& results) {
    m_answered = true;
    m_code = code;
    m_results = results;
    Q_EMIT answered();
}

}  // namespace quib

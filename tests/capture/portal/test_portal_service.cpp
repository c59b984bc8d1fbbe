// A stand-in for the desktop portal on a private session bus: answers the screen cast and global
// shortcut calls through Request objects and publishes a PipeWire stream of a known picture
// (320 x 240 at 60 frames a second unless --size WxH and --fps N say otherwise; the benchmarks
// ask for full HD), the cursor as metadata or drawn in. Options: --cursor-modes N (announced, default 7),
// --refuse CODE and --silent (for Start), --frames N (then the stream ends), --log PATH (source choices and
// bound shortcuts), --no-shortcuts, --refuse-shortcuts CODE. org.quib.PortalTest.Activate(id) presses a bound
// shortcut.

#include <pipewire/pipewire.h>
#include <spa/buffer/meta.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTimer>
#include <cstring>
#include <utility>

#include "portal_test_picture.h"

namespace {

using namespace quib::testing;

// D-Bus structures of two members, (u a{sv}) for a stream, (ii) for a position or size,
// (s a{sv}) for a shortcut: Qt sends pairs as such.
using StreamEntry = std::pair<uint, QVariantMap>;
using StreamList = QList<StreamEntry>;
using Pair = std::pair<int, int>;
using ShortcutEntry = std::pair<QString, QVariantMap>;
using ShortcutList = QList<ShortcutEntry>;

struct Config {
    uint cursorModes = 7;
    int refuse = -1;
    bool silent = false;
    int frames = 0;
    int width = 320, height = 240, fps = 60;
    QString log;
    bool shortcuts = true;
    int refuseShortcuts = -1;
};

// The producing side: a driver stream that sends the test picture at the configured rate.
class Producer {
public:
    // Started once per process; the stream ends with the process.
    explicit Producer(const Config& config) : m_config(config) {}

    bool start(bool cursorAsMetadata) {
        m_metadata = cursorAsMetadata;
        m_loop = pw_thread_loop_new("test-portal", nullptr);
        m_context = pw_context_new(pw_thread_loop_get_loop(m_loop), nullptr, 0);
        if (!m_context || pw_thread_loop_start(m_loop) < 0)
            return false;
        pw_thread_loop_lock(m_loop);
        m_core = pw_context_connect(m_context, nullptr, 0);
        if (m_core) {
            m_stream = pw_stream_new(m_core, "test-screen",
                                     pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source", PW_KEY_MEDIA_TYPE,
                                                       "Video", PW_KEY_MEDIA_CATEGORY, "Capture", nullptr));
        }
        bool ok = false;
        if (m_stream) {
            m_events.version = PW_VERSION_STREAM_EVENTS;
            m_events.param_changed = &Producer::onParamChanged;
            pw_stream_add_listener(m_stream, &m_hook, &m_events, this);
            uint8_t buffer[1024];
            spa_pod_builder b = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
            const spa_rectangle size = SPA_RECTANGLE(uint32_t(m_config.width), uint32_t(m_config.height));
            const spa_fraction rate = SPA_FRACTION(uint32_t(m_config.fps), 1);
            const spa_pod* params[] = {static_cast<const spa_pod*>(spa_pod_builder_add_object(
                &b, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
                SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw),
                SPA_FORMAT_VIDEO_format, SPA_POD_Id(SPA_VIDEO_FORMAT_BGRx), SPA_FORMAT_VIDEO_size,
                SPA_POD_Rectangle(&size), SPA_FORMAT_VIDEO_framerate, SPA_POD_Fraction(&rate)))};
            ok = pw_stream_connect(m_stream, PW_DIRECTION_OUTPUT, PW_ID_ANY,
                                   pw_stream_flags(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS),
                                   params, 1) == 0;
            m_timer = pw_loop_add_timer(pw_thread_loop_get_loop(m_loop), &Producer::onTimer, this);
            timespec interval{0, long(1000000000L / m_config.fps)};
            pw_loop_update_timer(pw_thread_loop_get_loop(m_loop), m_timer, &interval, &interval, false);
        }
        pw_thread_loop_unlock(m_loop);
        return ok;
    }

    // Only once started.
    uint32_t nodeId() {
        pw_thread_loop_lock(m_loop);
        const uint32_t id = m_stream ? pw_stream_get_node_id(m_stream) : SPA_ID_INVALID;
        pw_thread_loop_unlock(m_loop);
        return id;
    }

private:
    void endStream() {
        if (m_timer) {
            pw_loop_destroy_source(pw_thread_loop_get_loop(m_loop), m_timer);
            m_timer = nullptr;
        }
        if (m_stream) {
            pw_stream_destroy(m_stream);
            m_stream = nullptr;
        }
    }

    static void onParamChanged(void* data, uint32_t id, const spa_pod* param) {
        auto* self = static_cast<Producer*>(data);
        if (!param || id != SPA_PARAM_Format)
            return;
        const int stride = self->m_config.width * 4;
        uint8_t buffer[1024];
        spa_pod_builder b = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
        const spa_pod* params[2];
        params[0] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
            &b, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
            SPA_POD_CHOICE_RANGE_Int(4, 2, 8), SPA_PARAM_BUFFERS_blocks, SPA_POD_Int(1),
            SPA_PARAM_BUFFERS_size, SPA_POD_Int(stride * self->m_config.height), SPA_PARAM_BUFFERS_stride,
            SPA_POD_Int(stride), SPA_PARAM_BUFFERS_dataType, SPA_POD_CHOICE_FLAGS_Int(1 << SPA_DATA_MemFd)));
        params[1] = static_cast<const spa_pod*>(spa_pod_builder_add_object(
            &b, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta, SPA_PARAM_META_type, SPA_POD_Id(SPA_META_Cursor),
            SPA_PARAM_META_size, SPA_POD_Int(int(kTestCursorMetaSize))));
        pw_stream_update_params(self->m_stream, params, self->m_metadata ? 2 : 1);
    }

    static void onTimer(void* data, uint64_t) {
        auto* self = static_cast<Producer*>(data);
        if (!self->m_stream)
            return;
        pw_buffer* b = pw_stream_dequeue_buffer(self->m_stream);
        if (!b)
            return;
        spa_buffer* buf = b->buffer;
        spa_data& d = buf->datas[0];
        const int w = self->m_config.width, h = self->m_config.height;
        if (d.data && d.maxsize >= uint32_t(w * h * 4)) {
            fillTestPicture(static_cast<uint8_t*>(d.data), w, h, !self->m_metadata);
            d.chunk->offset = 0;
            d.chunk->stride = w * 4;
            d.chunk->size = uint32_t(w * h * 4);
        }
        if (auto* meta = static_cast<spa_meta_cursor*>(
                spa_buffer_find_meta_data(buf, SPA_META_Cursor, sizeof(spa_meta_cursor))))
            fillTestCursorMeta(meta);
        pw_stream_queue_buffer(self->m_stream, b);
        if (self->m_config.frames > 0 && ++self->m_sent >= self->m_config.frames)
            self->endStream();
    }

    const Config& m_config;
    bool m_metadata = true;
    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    spa_hook m_hook{};
    pw_stream_events m_events{};
    spa_source* m_timer = nullptr;
    int m_sent = 0;
};

class Portal final : public QDBusVirtualObject {
public:
    explicit Portal(const Config& config) : m_config(config), m_producer(config) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        const QVariantList args = message.arguments();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") && member == "Get" &&
            args.size() == 2) {
            const QString name = args[1].toString();
            if (args[0].toString() == QLatin1String("org.freedesktop.portal.GlobalShortcuts")) {
                if (!m_config.shortcuts)
                    connection.send(
                        message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                                 QStringLiteral("No such interface")));
                else
                    connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
                return true;
            }
            const uint value = name == "AvailableCursorModes"   ? m_config.cursorModes
                               : name == "AvailableSourceTypes" ? 3u
                               : name == "version"              ? 4u
                                                                : 0u;
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
            return true;
        }
        if (message.interface() == QLatin1String("org.freedesktop.portal.Session") && member == "Close") {
            connection.send(message.createReply());
            return true;
        }
        if (message.interface() == QLatin1String("org.quib.PortalTest") && member == "Activate" &&
            args.size() == 1) {
            QDBusMessage signal = QDBusMessage::createSignal(
                "/org/freedesktop/portal/desktop", "org.freedesktop.portal.GlobalShortcuts", "Activated");
            signal << QVariant::fromValue(QDBusObjectPath(m_shortcutSession)) << args[0].toString()
                   << qulonglong(0) << QVariantMap();
            connection.send(message.createReply());
            QDBusConnection(connection).send(signal);
            return true;
        }
        const bool shortcuts = message.interface() == QLatin1String("org.freedesktop.portal.GlobalShortcuts");
        if (message.interface() != QLatin1String("org.freedesktop.portal.ScreenCast") &&
            !(shortcuts && m_config.shortcuts))
            return false;
        const QVariantMap options = args.isEmpty() ? QVariantMap() : qdbus_cast<QVariantMap>(args.last());
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        const QString request = "/org/freedesktop/portal/desktop/request/" + sender + "/" +
                                options.value("handle_token").toString();
        if (shortcuts) {
            connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            handleShortcuts(connection, member, args, options, sender, request);
            return true;
        }
        if (member == "OpenPipeWireRemote") {
            const int fd = connectToPipeWire();
            connection.send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(fd))));
            ::close(fd);
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (member == "CreateSession") {
            const QString session = "/org/freedesktop/portal/desktop/session/" + sender + "/" +
                                    options.value("session_handle_token").toString();
            respond(connection, request, 0, {{"session_handle", session}});
        } else if (member == "SelectSources") {
            m_cursorMode = options.value("cursor_mode").toUInt();
            m_persist = options.value("persist_mode").toUInt();
            log(QString("SelectSources types=%1 cursor_mode=%2 persist_mode=%3 restore_token=%4")
                    .arg(options.value("types").toUInt())
                    .arg(m_cursorMode)
                    .arg(m_persist)
                    .arg(options.value("restore_token").toString()));
            respond(connection, request, 0, {});
        } else if (member == "Start") {
            if (m_config.silent)
                return true;
            if (m_config.refuse >= 0) {
                respond(connection, request, uint(m_config.refuse), {});
                return true;
            }
            if (!m_producer.start(m_cursorMode == 4))
                respond(connection, request, 2, {});
            else
                answerStartWhenReady(connection, request);
        }
        return true;
    }

private:
    void handleShortcuts(const QDBusConnection& connection, const QString& member, const QVariantList& args,
                         const QVariantMap& options, const QString& sender, const QString& request) {
        if (member == "CreateSession") {
            m_shortcutSession = "/org/freedesktop/portal/desktop/session/" + sender + "/" +
                                options.value("session_handle_token").toString();
            respond(connection, request, 0, {{"session_handle", m_shortcutSession}});
        } else if (member == "BindShortcuts" && args.size() == 4) {
            m_bound.clear();
            const QDBusArgument list = args[1].value<QDBusArgument>();
            list.beginArray();
            while (!list.atEnd()) {
                ShortcutEntry entry;
                list >> entry;
                log(QString("BindShortcuts %1 description=%2 preferred_trigger=%3")
                        .arg(entry.first, entry.second.value("description").toString(),
                             entry.second.value("preferred_trigger").toString()));
                m_bound.append({entry.first,
                                {{"description", entry.second.value("description")},
                                 {"trigger_description", entry.second.value("preferred_trigger")}}});
            }
            list.endArray();
            if (m_config.refuseShortcuts >= 0)
                respond(connection, request, uint(m_config.refuseShortcuts), {});
            else
                respond(connection, request, 0, {{"shortcuts", QVariant::fromValue(m_bound)}});
        }
    }

    void log(const QString& line) {
        if (m_config.log.isEmpty())
            return;
        QFile file(m_config.log);
        if (file.open(QIODevice::Append))
            file.write((line + "\n").toUtf8());
    }

    void respond(const QDBusConnection& connection, const QString& request, uint code,
                 const QVariantMap& results) {
        QDBusMessage signal =
            QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
        signal << code << results;
        QDBusConnection(connection).send(signal);
    }

    // The stream's node id is known once the daemon has taken the stream.
    void answerStartWhenReady(const QDBusConnection& connection, const QString& request) {
        const uint32_t id = m_producer.nodeId();
        if (id == SPA_ID_INVALID) {
            QTimer::singleShot(10, [=, this] { answerStartWhenReady(connection, request); });
            return;
        }
        const StreamEntry entry{id,
                                {{"position", QVariant::fromValue(Pair{0, 0})},
                                 {"size", QVariant::fromValue(Pair{m_config.width, m_config.height})},
                                 {"source_type", 1u}}};
        QVariantMap results{{"streams", QVariant::fromValue(StreamList{entry})}};
        if (m_persist != 0)
            results.insert("restore_token", QString("restore-%1").arg(++m_tokens));
        respond(connection, request, 0, results);
    }

    static int connectToPipeWire() {
        const QByteArray dir = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray path = dir + "/pipewire-0";
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        return fd;
    }

    const Config& m_config;
    Producer m_producer;
    uint m_cursorMode = 0;
    uint m_persist = 0;
    QString m_shortcutSession;
    ShortcutList m_bound;
    int m_tokens = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    pw_init(&argc, &argv);
    qDBusRegisterMetaType<StreamEntry>();
    qDBusRegisterMetaType<StreamList>();
    qDBusRegisterMetaType<Pair>();
    qDBusRegisterMetaType<ShortcutEntry>();
    qDBusRegisterMetaType<ShortcutList>();
    Config config;
    const QStringList a = app.arguments();
    for (int i = 1; i < a.size(); ++i) {
        const QString next = i + 1 < a.size() ? a[i + 1] : QString();
        if (a[i] == "--cursor-modes")
            config.cursorModes = next.toUInt(), ++i;
        else if (a[i] == "--refuse")
            config.refuse = next.toInt(), ++i;
        else if (a[i] == "--silent")
            config.silent = true;
        else if (a[i] == "--frames")
            config.frames = next.toInt(), ++i;
        else if (a[i] == "--fps")
            config.fps = std::max(1, next.toInt()), ++i;
        else if (a[i] == "--size") {
            config.width = std::max(1, next.section('x', 0, 0).toInt());
            config.height = std::max(1, next.section('x', 1, 1).toInt());
            ++i;
        } else if (a[i] == "--no-shortcuts")
            config.shortcuts = false;
        else if (a[i] == "--refuse-shortcuts")
            config.refuseShortcuts = next.toInt(), ++i;
        else if (a[i] == "--log")
            config.log = next, ++i;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    Portal portal(config);
    if (!bus.registerVirtualObject("/org/freedesktop/portal/desktop", &portal, QDBusConnection::SubPath) ||
        !bus.registerService("org.freedesktop.portal.Desktop"))
        return 1;
    return app.exec();
}

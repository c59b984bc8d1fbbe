#pragma once

#include <QDBusConnection>
#include <QString>
#include <cstdint>
#include <string>

#include "base/geometry.h"
#include "base/status.h"
#include "unique_fd.h"

namespace quib {

// What the user shares: a whole monitor or one window (the portal's source types).
enum class PortalSourceType : uint32_t { Monitor = 1, Window = 2 };

struct PortalScreenCastOptions {
    PortalSourceType source = PortalSourceType::Monitor;
    // From an earlier session: the portal then reuses the user's choice without asking.
    std::string restoreToken;
    // For calls the portal answers at once, and for the one that waits on the user's choice.
    int callTimeoutMs = 10000;
    int choiceTimeoutMs = 300000;
};

// The stream a started screen cast delivers.
struct PortalStream {
    UniqueFd pipeWireFd;  // connected to the PipeWire daemon that carries the stream
    uint32_t nodeId = 0;
    Point position;               // of the monitor in the desktop, (0, 0) when the portal does not say
    Size size;                    // as the portal announces it; the stream's format has the last word
    bool cursorMetadata = false;  // otherwise the cursor is drawn into the pictures
    std::string restoreToken;     // to hand back next time; empty when the portal gave none
};

// A session of the desktop portal's screen cast: created, sources chosen (in the portal's own
// dialog unless a restore token is accepted), started; closed on destruction.
class PortalScreenCast {
public:
    explicit PortalScreenCast(QDBusConnection bus) : m_bus(std::move(bus)) {}
    ~PortalScreenCast();
    PortalScreenCast(const PortalScreenCast&) = delete;
    PortalScreenCast& operator=(const PortalScreenCast&) = delete;

    Status start(const PortalScreenCastOptions& options, PortalStream& stream);

private:
    uint32_t property(const QString& name, int timeoutMs);
    void close();

    QDBusConnection m_bus;
    QString m_session;
};

}  // namespace quib

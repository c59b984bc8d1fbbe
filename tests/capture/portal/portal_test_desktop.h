#pragma once

// A private desktop session for the portal tests: a session bus, a PipeWire daemon and its
// session manager, all in a temporary runtime folder, and the test portal started on demand.
// Every process runs under a hard time limit and is reaped on destruction.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/files_and_commands.h"

namespace quib::testing {

class PortalTestDesktop {
public:
    PortalTestDesktop() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "portal-tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    ~PortalTestDesktop() {
        stopPortal();
        if (m_busConnected)
            QDBusConnection::disconnectFromBus(kConnectionName);
        m_sessionManager.stop();
        m_pipeWire.stop();
        m_bus.stop();
    }

    // Empty when the session is up; otherwise what is missing.
    std::string start() {
        if (m_dir.empty())
            return "no temporary folder";
        const std::string config = m_dir + "/bus.conf";
        quib::test::writeFile(config, "<busconfig><type>session</type><listen>unix:dir=" + m_dir +
                                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                          "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow "
                                          "eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        m_bus.start(limited({"dbus-daemon", "--nofork", "--print-address=1", "--config-file=" + config}), {},
                    {.output = true});
        m_address = m_bus.readLine(std::chrono::seconds(15));
        if (m_address.empty())
            return "dbus-daemon did not start (is the dbus-daemon package installed?)";
        m_env = {"XDG_RUNTIME_DIR=" + m_dir,
                 "PIPEWIRE_RUNTIME_DIR=" + m_dir,
                 "DBUS_SESSION_BUS_ADDRESS=" + m_address,
                 "HOME=" + m_dir,
                 "XDG_CONFIG_HOME=" + m_dir + "/config",
                 "XDG_STATE_HOME=" + m_dir + "/state",
                 "XDG_DATA_HOME=" + m_dir + "/data",
                 "PIPEWIRE_REMOTE=pipewire-0"};
        m_pipeWire.start(limited({"pipewire"}), m_env);
        if (!waitFor([&] { return quib::test::fileExists(m_dir + "/pipewire-0"); }))
            return "pipewire did not start (are the pipewire and pipewire-bin packages installed?)";
        // Links the portal's stream to the capture's, as on a desktop.
        m_sessionManager.start(limited({"wireplumber"}), m_env);
        if (!m_sessionManager.running())
            return "wireplumber did not start (is the wireplumber package installed?)";
        QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(m_address), kConnectionName);
        m_busConnected = true;
        if (!bus.isConnected())
            return "cannot connect to the test session bus";
        return {};
    }

    // Starts the test portal with the given options and waits until it owns its name.
    std::string startPortal(std::vector<std::string> args) {
        stopPortal();
        args.insert(args.begin(), {QUIB_TEST_PORTAL_SERVICE, "--log", logPath()});
        m_portal.start(limited(std::move(args)), m_env);
        if (!waitFor([&] { return portalRegistered(); }))
            return "the test portal did not start";
        return {};
    }
    void stopPortal() {
        m_portal.stop();
        if (m_busConnected)
            waitFor([&] { return !portalRegistered(); });
    }

    QDBusConnection bus() const { return QDBusConnection(kConnectionName); }
    const std::string& busAddress() const { return m_address; }
    std::string logPath() const { return m_dir + "/portal.log"; }
    std::string log() const { return quib::test::readFile(logPath()); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }

private:
    static inline const QString kConnectionName = QStringLiteral("quib-portal-test");

    bool portalRegistered() const {
        return bus()
            .interface()
            ->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop"))
            .value();
    }

    template <typename Condition>
    static bool waitFor(Condition condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Under a hard time limit, so that nothing outlives a test run that goes wrong.
    static std::vector<std::string> limited(std::vector<std::string> argv) {
        argv.insert(argv.begin(), {"timeout", "-s", "KILL", "600"});
        return argv;
    }

    quib::test::TempDir m_temp;
    const std::string m_dir = m_temp.dir();
    std::string m_address;
    std::vector<std::string> m_env;
    bool m_busConnected = false;
    quib::test::ChildProcess m_bus, m_pipeWire, m_sessionManager, m_portal;
};

}  // namespace quib::testing

#pragma once

// A private desktop session for the portal tests: a session bus, a PipeWire daemon and its
// session manager, all in a temporary runtime folder, and the test portal started on demand.
// Every process runs under a hard time limit and is reaped on destruction.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace quib::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Runs argv under `timeout`, with env added to the environment; outFd (or /dev/null) takes stdout.
    bool start(std::vector<std::string> argv, const std::vector<std::string>& env, int outFd = -1) {
        argv.insert(argv.begin(), {"timeout", "-s", "KILL", "600"});
        // Built before forking: the child of a threaded process must not allocate.
        std::vector<std::string> environment = env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('=') + 1);
            bool replaced = false;
            for (const std::string& own : env)
                replaced = replaced || own.compare(0, name.size(), name) == 0;
            if (!replaced)
                environment.push_back(entry);
        }
        std::vector<char*> args, envp;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        for (std::string& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(outFd >= 0 ? outFd : null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            // Our own process group, so that stopping reaches the program and not only `timeout`.
            setpgid(0, 0);
            execvpe(args[0], args.data(), envp.data());
            _exit(127);
        }
        return m_pid > 0;
    }

    bool running() {
        if (m_pid <= 0)
            return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        return true;
    }

    void stop() {
        if (m_pid <= 0)
            return;
        kill(-m_pid, SIGTERM);
        kill(m_pid, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (waitpid(m_pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(-m_pid, SIGKILL);
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

class PortalTestDesktop {
public:
    PortalTestDesktop() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "portal-tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
        char dir[] = "/tmp/quib-portal-XXXXXX";
        if (mkdtemp(dir))
            m_dir = dir;
    }
    ~PortalTestDesktop() {
        stopPortal();
        if (m_busConnected)
            QDBusConnection::disconnectFromBus(kConnectionName);
        m_sessionManager.stop();
        m_pipeWire.stop();
        m_bus.stop();
        std::error_code ignored;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ignored);
    }

    // Empty when the session is up; otherwise what is missing.
    std::string start() {
        if (m_dir.empty())
            return "no temporary folder";
        const std::string config = m_dir + "/bus.conf";
        if (FILE* f = std::fopen(config.c_str(), "w")) {
            std::fprintf(f,
                         "<busconfig><type>session</type><listen>unix:dir=%s</listen><auth>EXTERNAL</auth>"
                         "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                         "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n",
                         m_dir.c_str());
            std::fclose(f);
        }
        int fds[2];
        if (pipe(fds) != 0)
            return "no pipe";
        m_bus.start({"dbus-daemon", "--nofork", "--print-address=1", "--config-file=" + config}, {}, fds[1]);
        close(fds[1]);
        m_address = readLine(fds[0]);
        close(fds[0]);
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
        m_pipeWire.start({"pipewire"}, m_env);
        if (!waitFor([&] { return access((m_dir + "/pipewire-0").c_str(), F_OK) == 0; }))
            return "pipewire did not start (are the pipewire and pipewire-bin packages installed?)";
        // Links the portal's stream to the capture's, as on a desktop.
        m_sessionManager.start({"wireplumber"}, m_env);
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
        m_portal.start(args, m_env);
        if (!waitFor([&] {
                return bus()
                    .interface()
                    ->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop"))
                    .value();
            }))
            return "the test portal did not start";
        return {};
    }
    void stopPortal() {
        m_portal.stop();
        if (m_busConnected)
            waitFor([&] {
                return !bus()
                            .interface()
                            ->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop"))
                            .value();
            });
    }

    QDBusConnection bus() const { return QDBusConnection(kConnectionName); }
    const std::string& busAddress() const { return m_address; }
    std::string logPath() const { return m_dir + "/portal.log"; }
    std::string log() const {
        std::string text;
        if (FILE* f = std::fopen(logPath().c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
                text.append(buffer, n);
            std::fclose(f);
        }
        return text;
    }

private:
    static inline const QString kConnectionName = QStringLiteral("quib-portal-test");

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

    static std::string readLine(int fd) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            char c = 0;
            if (read(fd, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        return line;
    }

    std::string m_dir;
    std::string m_address;
    std::vector<std::string> m_env;
    bool m_busConnected = false;
    ChildProcess m_bus, m_pipeWire, m_sessionManager, m_portal;
};

}  // namespace quib::testing

#include "headless_browser.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace quib::test {

// A guard against a browser that stops answering, not a measure of speed.
constexpr int kReplyTimeoutMs = 60000;

std::string HeadlessBrowser::program() {
    for (const char* path : {"/usr/bin/chromium", "/usr/lib/chromium/chromium", "/usr/bin/chromium-browser"})
        if (::access(path, X_OK) == 0)
            return path;
    return {};
}

HeadlessBrowser::HeadlessBrowser(const std::string& profileDir) {
    const std::string browser = program();
    if (browser.empty())
        return;
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        return;
    const std::string home = profileDir + "/home";
    std::filesystem::create_directories(home);
    const std::vector<std::string> args{
        browser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--disable-breakpad", "--disable-crash-reporter", "--force-device-scale-factor=1",
        "--window-size=1000,800",
        // Pages opened from files may read back their own canvas.
        "--allow-file-access-from-files", "--user-data-dir=" + profileDir + "/profile",
        "--remote-debugging-pipe", "about:blank"};
    // Helpers the browser leaves when it ends become this process's children.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    m_pid = ::fork();
    if (m_pid == 0) {
        // A group of its own, so that its helper processes end with it.
        ::setpgid(0, 0);
        // The browser reads commands on descriptor 3 and answers on 4.
        const int commands = ::fcntl(in[0], F_DUPFD, 10), answers = ::fcntl(out[1], F_DUPFD, 10);
        ::dup2(commands, 3);
        ::dup2(answers, 4);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::setenv("XDG_CACHE_HOME", home.c_str(), 1);
        ::unsetenv("DISPLAY");
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid > 0)
        ::setpgid(m_pid, m_pid);
    ::close(in[0]);
    ::close(out[1]);
    m_toBrowser = in[1];
    m_fromBrowser = out[0];
    if (m_pid < 0) {
        ::close(m_toBrowser);
        ::close(m_fromBrowser);
    }
}

HeadlessBrowser::~HeadlessBrowser() {
    if (m_pid <= 0)
        return;
    ::close(m_toBrowser);
    ::close(m_fromBrowser);
    ::kill(-m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    // Helpers still writing into the profile would keep its folder from being removed: they are
    // ended and, being ours to reap, awaited.
    ::kill(-m_pid, SIGKILL);
    while (::waitpid(-m_pid, &status, 0) > 0) {
    }
}

QJsonObject HeadlessBrowser::call(const QString& method, const QJsonObject& params) {
    const int id = m_nextId++;
    QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
    if (!m_session.isEmpty() && !method.startsWith(QStringLiteral("Target.")))
        message["sessionId"] = m_session;
    QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact);
    bytes.append('\0');
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::write(m_toBrowser, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n <= 0) {
            ADD_FAILURE() << "the browser closed its pipe";
            return {};
        }
        sent += n;
    }
    for (;;) {
        for (size_t end; (end = m_buffer.find('\0')) != std::string::npos;) {
            const QJsonObject reply =
                QJsonDocument::fromJson(QByteArray(m_buffer.data(), qsizetype(end))).object();
            m_buffer.erase(0, end + 1);
            if (reply.value("id").toInt() != id)
                continue;  // an event, or an answer nobody waits for
            if (reply.contains("error"))
                ADD_FAILURE() << method.toStdString() << ": "
                              << QJsonDocument(reply.value("error").toObject()).toJson().toStdString();
            return reply.value("result").toObject();
        }
        pollfd wait{m_fromBrowser, POLLIN, 0};
        char chunk[65536];
        const ssize_t n =
            ::poll(&wait, 1, kReplyTimeoutMs) == 1 ? ::read(m_fromBrowser, chunk, sizeof chunk) : -1;
        if (n <= 0) {
            ADD_FAILURE() << method.toStdString() << ": no answer from the browser";
            return {};
        }
        m_buffer.append(chunk, size_t(n));
    }
}

bool HeadlessBrowser::open(const std::string& url) {
    const QString target = call("Target.createTarget", {{"url", "about:blank"}}).value("targetId").toString();
    m_session = call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}})
                    .value("sessionId")
                    .toString();
    if (m_session.isEmpty())
        return false;
    call("Page.enable");
    call("Page.navigate", {{"url", QString::fromStdString(url)}});
    // Polls until the new document has loaded; a page that never does fails by the reply timeout.
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (evaluate("location.href !== 'about:blank' && document.readyState === 'complete'").toBool())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

QJsonValue HeadlessBrowser::evaluate(const std::string& expression) {
    const QJsonObject result = call("Runtime.evaluate", {{"expression", QString::fromStdString(expression)},
                                                         {"awaitPromise", true},
                                                         {"returnByValue", true}});
    if (result.contains("exceptionDetails")) {
        ADD_FAILURE() << expression << ": "
                      << QJsonDocument(result.value("exceptionDetails").toObject()).toJson().toStdString();
        return {};
    }
    return result.value("result").toObject().value("value");
}

void HeadlessBrowser::click(double x, double y) {
    for (const char* type : {"mousePressed", "mouseReleased"})
        call("Input.dispatchMouseEvent",
             {{"type", type}, {"x", x}, {"y", y}, {"button", "left"}, {"clickCount", 1}});
}

void HeadlessBrowser::press(const std::string& key, const std::string& code, int keyCode) {
    const QString k = QString::fromStdString(key);
    for (const char* type : {"keyDown", "keyUp"}) {
        QJsonObject params{{"type", type},
                           {"key", k},
                           {"code", QString::fromStdString(code)},
                           {"windowsVirtualKeyCode", keyCode}};
        if (key.size() == 1 && std::string(type) == "keyDown")
            params["text"] = k;
        call("Input.dispatchKeyEvent", params);
    }
}

}  // namespace quib::test

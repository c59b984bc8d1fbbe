#pragma once

// A private Xvfb display for tests and benchmarks: started on a free display number (the server
// picks it and reports it through -displayfd once it accepts connections), killed on destruction.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quib::testing {

class XvfbServer {
public:
    explicit XvfbServer(const std::string& screen = "640x480x24") { start(screen); }
    ~XvfbServer() { stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    static bool installed() {
        const char* path = std::getenv("PATH");
        std::string dirs = path ? path : "/usr/bin:/bin";
        size_t begin = 0;
        while (begin <= dirs.size()) {
            size_t end = dirs.find(':', begin);
            if (end == std::string::npos)
                end = dirs.size();
            const std::string candidate = dirs.substr(begin, end - begin) + "/Xvfb";
            if (access(candidate.c_str(), X_OK) == 0)
                return true;
            begin = end + 1;
        }
        return false;
    }

    bool running() const { return !m_display.empty(); }
    // ":N", for XOpenDisplay and xcb_connect.
    const std::string& display() const { return m_display; }

private:
    void start(const std::string& screen) {
        if (!installed())
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            // Quiet: the server's start-up chatter is of no interest to a test log.
            if (FILE* null = std::fopen("/dev/null", "w")) {
                dup2(fileno(null), STDOUT_FILENO);
                dup2(fileno(null), STDERR_FILENO);
            }
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
                   "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            return;
        }
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 200) <= 0)
                continue;
            char c = 0;
            if (read(fds[0], &c, 1) != 1)
                break;
            if (c == '\n')
                break;
            number += c;
        }
        close(fds[0]);
        if (number.empty()) {
            stop();
            return;
        }
        m_display = ":" + number;
    }

    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
        m_display.clear();
    }

    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace quib::testing

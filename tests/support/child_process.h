#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace quib::test {

struct ChildPipes {
    bool input = false;   // held open until stop(): a helper may wait for its end
    bool output = false;  // read with readLine()
};

// A program a test runs beside itself: in its own process group, its standard input and output
// piped when asked (otherwise /dev/null, as is its standard error), stopped and reaped with the
// object.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // argv[0] is looked up on the PATH; env entries are added to the environment or replace theirs.
    bool start(std::vector<std::string> argv, const std::vector<std::string>& env = {},
               ChildPipes pipes = {}) {
        stop();
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
        int in[2] = {-1, -1}, out[2] = {-1, -1};
        if ((pipes.input && pipe2(in, O_CLOEXEC) != 0) || (pipes.output && pipe2(out, O_CLOEXEC) != 0))
            return false;
        m_pid = fork();
        if (m_pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            dup2(pipes.input ? in[0] : null, STDIN_FILENO);
            dup2(pipes.output ? out[1] : null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            // Its own group, so that stopping reaches what it starts in turn.
            setpgid(0, 0);
            execvpe(args[0], args.data(), envp.data());
            _exit(127);
        }
        for (int fd : {in[0], out[1]})
            if (fd >= 0)
                close(fd);
        m_input = in[1];
        m_output = out[0];
        return m_pid > 0;
    }

    // The next line of the piped output, without its newline; empty when none comes in time.
    std::string readLine(std::chrono::milliseconds wait = std::chrono::seconds(5)) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (m_output >= 0 && std::chrono::steady_clock::now() < deadline) {
            pollfd p{m_output, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            char c = 0;
            if (read(m_output, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        return line;
    }

    bool running() {
        int status = 0;
        if (m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == m_pid)
            m_pid = -1;
        return m_pid > 0;
    }

    // Asks the group to end, and kills it when it has not within 5 s.
    void stop() {
        for (int* fd : {&m_input, &m_output})
            if (*fd >= 0)
                close(*fd), *fd = -1;
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
    int m_input = -1;
    int m_output = -1;
};

}  // namespace quib::test

#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace quib::test {

struct ChildRun {
    bool finished = false;   // the child ran work and reported
    bool result = false;     // what work returned
    long peakGrowthKb = -1;  // how much the child's peak resident memory grew during work
};

// Runs work in a forked child, so that what it allocates is measured apart from the tests.
inline ChildRun runInChild(const std::function<bool()>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        long values[2] = {work() ? 1 : 0, 0};
        ::getrusage(RUSAGE_SELF, &after);
        values[1] = after.ru_maxrss - before.ru_maxrss;
        (void)!::write(pipeFds[1], values, sizeof values);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    ChildRun run;
    long values[2] = {0, 0};
    if (pid > 0 && ::read(pipeFds[0], values, sizeof values) == sizeof values)
        run = ChildRun{true, values[0] != 0, values[1]};
    ::close(pipeFds[0]);
    int status = 0;
    if (pid > 0)
        ::waitpid(pid, &status, 0);
    return run;
}

}  // namespace quib::test

#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quib {

// Runs independent tasks on a fixed set of threads. At most `backlog` tasks wait or run at a
// time; submit blocks beyond that, so the memory the waiting tasks hold stays bounded while the
// caller produces faster than the threads consume.
class WorkerPool {
public:
    // threads 0: one per core.
    explicit WorkerPool(size_t threads = 0, size_t backlog = 0);
    ~WorkerPool();  // finishes every submitted task first
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void submit(std::function<void()> task);
    // Returns once every task submitted so far has run.
    void wait();
    size_t threadCount() const { return m_threads.size(); }

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_tasks;
    size_t m_unfinished = 0;  // waiting or running
    size_t m_backlog;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace quib

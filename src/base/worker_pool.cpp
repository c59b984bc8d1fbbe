#include "worker_pool.h"

#include <algorithm>

namespace quib {

WorkerPool::WorkerPool(size_t threads, size_t backlog) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    m_backlog = backlog ? backlog : threads * 2;
    for (size_t i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_unfinished == 0; });
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerPool::submit(std::function<void()> task) {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_unfinished < m_backlog; });
        m_tasks.push_back(std::move(task));
        ++m_unfinished;
    }
    m_changed.notify_all();
}

void WorkerPool::wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_unfinished == 0; });
}

void WorkerPool::work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
        {
            std::lock_guard lock(m_mutex);
            --m_unfinished;
        }
        m_changed.notify_all();
    }
}

}  // namespace quib

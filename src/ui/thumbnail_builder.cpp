#include "thumbnail_builder.h"

#include <algorithm>

#include "thumbnail_scaler.h"

namespace quib {

ThumbnailBuilder::ThumbnailBuilder(int threads)
    : m_threadCount(threads > 0 ? threads : int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u))) {}

ThumbnailBuilder::~ThumbnailBuilder() {
    cancel();
}

void ThumbnailBuilder::start(std::vector<Task> tasks, Size frameSize, const QImage& templ,
                             std::function<void()> resultReady) {
    cancel();
    m_tasks = std::move(tasks);
    m_frameSize = frameSize;
    m_template = templ.copy();  // the workers share it read-only
    m_resultReady = std::move(resultReady);
    m_next = 0;
    m_cancel = false;
    m_finished = 0;
    if (m_tasks.empty())
        return;
    const int threads = std::min<int>(m_threadCount, int(m_tasks.size()));
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

void ThumbnailBuilder::cancel() {
    m_cancel = true;
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    std::lock_guard lock(m_mutex);
    m_results.clear();
    m_tasks.clear();
    m_finished = 0;
}

void ThumbnailBuilder::wait() {
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_finished >= m_tasks.size() || m_cancel; });
    }
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
}

bool ThumbnailBuilder::running() const {
    std::lock_guard lock(m_mutex);
    return m_finished < m_tasks.size();
}

std::vector<ThumbnailBuilder::Result> ThumbnailBuilder::takeResults() {
    std::lock_guard lock(m_mutex);
    std::vector<Result> results;
    results.swap(m_results);
    return results;
}

void ThumbnailBuilder::work() {
    const int dw = m_template.width() - 2 * ThumbnailBorder, dh = m_template.height() - 2 * ThumbnailBorder;
    BoxFilter filter(m_frameSize.cx, m_frameSize.cy, dw, dh);
    std::vector<uint8_t> scratch;
    for (;;) {
        if (m_cancel)
            return;
        const size_t index = m_next++;
        if (index >= m_tasks.size())
            return;
        const Task& task = m_tasks[index];
        filter.reset();
        if (!task.stream.empty())
            (void)filterCompressedPicture(task.stream.data(), task.stream.size(), filter, scratch);
        QImage image = m_template.copy();
        if (dw > 0 && dh > 0)
            filter.write(image.scanLine(ThumbnailBorder) + ThumbnailBorder * 3, size_t(image.bytesPerLine()));
        {
            std::lock_guard lock(m_mutex);
            m_results.push_back({task.key, std::move(image)});
            ++m_finished;
        }
        m_done.notify_all();
        if (m_resultReady)
            m_resultReady();
    }
}

}  // namespace quib

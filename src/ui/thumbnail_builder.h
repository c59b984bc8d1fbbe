#pragma once

#include <QImage>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/geometry.h"
#include "base/shared_bytes.h"

namespace quib {

// Makes thumbnails of compressed frame pictures on worker threads. The caller hands over copies
// of the streams, so the document may change while the workers run; finished thumbnails are
// collected with takeResults() on the caller's thread.
class ThumbnailBuilder {
public:
    struct Task {
        int key = 0;  // the caller's name for the result
        SharedBytes stream;
    };
    struct Result {
        int key = 0;
        QImage image;
    };

    // threads: 0 picks one per core.
    explicit ThumbnailBuilder(int threads = 0);
    ~ThumbnailBuilder();
    ThumbnailBuilder(const ThumbnailBuilder&) = delete;
    ThumbnailBuilder& operator=(const ThumbnailBuilder&) = delete;

    // Cancels any work under way and starts on the tasks, in their order. Each picture is a
    // frameSize zlib stream; its thumbnail is the template with the picture scaled inside.
    // resultReady is called on a worker thread after each result (keep it short).
    void start(std::vector<Task> tasks, Size frameSize, const QImage& templ,
               std::function<void()> resultReady = {});
    // Stops the workers; results not yet taken are dropped.
    void cancel();
    // Blocks until every task is done.
    void wait();
    bool running() const;
    std::vector<Result> takeResults();

private:
    void work();

    int m_threadCount;
    std::vector<std::thread> m_threads;
    std::vector<Task> m_tasks;
    Size m_frameSize;
    QImage m_template;
    std::function<void()> m_resultReady;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_cancel{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    size_t m_finished = 0;
    std::vector<Result> m_results;
};

}  // namespace quib

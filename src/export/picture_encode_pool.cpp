#include "export/picture_encode_pool.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace quib {

namespace {

// The folder is new and replaces the old one only when complete, so each file is written plainly.
bool writeWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

PictureEncodePool::PictureEncodePool(std::string folder, PictureFormat format)
    : m_folder(std::move(folder)),
      m_format(format),
      m_threads(std::max(1u, std::thread::hardware_concurrency())) {}

void PictureEncodePool::add(EncodeJob job) {
    m_jobs.push_back(std::move(job));
    if (m_jobs.size() >= 2 * m_threads)
        flush();
}

bool PictureEncodePool::flush() {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k; (k = next++) < m_jobs.size();) {
            const EncodeJob& job = m_jobs[k];
            const std::vector<uint8_t> bytes =
                encodePicture(m_format, job.pixels.data(), job.width, job.height,
                              job.width * (job.alpha ? 4 : 3), job.alpha);
            if (bytes.empty() || !writeWhole(m_folder + "/" + job.file, bytes))
                m_failed = true;
            else
                m_bytes += bytes.size();
        }
    };
    std::vector<std::thread> threads;
    for (size_t t = 1; t < std::min(m_threads, m_jobs.size()); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    m_jobs.clear();
    return !m_failed;
}

}  // namespace quib

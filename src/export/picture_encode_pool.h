#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "export/picture_encoder.h"

namespace quib {

// A picture to encode and the file in the pool's folder it goes to.
struct EncodeJob {
    std::string file;
    std::vector<uint8_t> pixels;  // blue, green, red (alpha false) or blue, green, red, alpha; no padding
    int width = 0;
    int height = 0;
    bool alpha = false;
};

// Encodes pictures on every core and writes each into a folder. Jobs are gathered in small
// batches, so memory stays at a few pictures while the caller makes the next ones.
class PictureEncodePool {
public:
    PictureEncodePool(std::string folder, PictureFormat format);

    void add(EncodeJob job);
    // Encodes and writes what is waiting; false once any picture could not be encoded or written.
    bool flush();
    // Bytes of the files written so far.
    size_t bytes() const { return m_bytes; }

private:
    std::string m_folder;
    PictureFormat m_format;
    size_t m_threads;
    std::vector<EncodeJob> m_jobs;
    std::atomic<bool> m_failed{false};
    std::atomic<size_t> m_bytes{0};
};

}  // namespace quib

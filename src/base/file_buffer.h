#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/file_bytes.h"
#include "base/shared_bytes.h"

namespace quib {

// A whole file in memory (read as readFileBytes reads it) whose parts can be kept by readers
// without copying them: a project's frame streams stay where the file put them, so an open
// project holds one file's worth of memory, not two. A part's pages go back to the system when
// the last holder of that part lets go, so deleted frames do not keep their memory.
class FileBuffer {
public:
    FileBuffer() = default;
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;
    ~FileBuffer();

    FileRead read(const std::string& path, uint64_t maxBytes = UINT32_MAX);

    const uint8_t* data() const { return m_data; }
    size_t size() const { return m_size; }

    // size bytes at data (inside buffer) kept alive by the result and its copies.
    static SharedBytes part(std::shared_ptr<const FileBuffer> buffer, const uint8_t* data, size_t size);

private:
    void reset();
    void giveBack(const uint8_t* begin, const uint8_t* end) const;
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_mapped = 0;
};

}  // namespace quib

#include "base/file_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace quib {

namespace {

size_t pageSize() {
    static const size_t size = size_t(::sysconf(_SC_PAGESIZE));
    return size;
}

}  // namespace

FileBuffer::~FileBuffer() {
    reset();
}

void FileBuffer::reset() {
    if (m_mapped != 0)
        ::munmap(m_data, m_mapped);
    m_data = nullptr;
    m_size = m_mapped = 0;
}

FileRead FileBuffer::read(const std::string& path, uint64_t maxBytes) {
    reset();
    int fd = -1;
    size_t size = 0;
    if (FileRead opened = openWholeFile(path, maxBytes, fd, size); opened != FileRead::Ok)
        return opened;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (size == 0)
        return FileRead::Ok;
    // Pages of its own, so that parts can give theirs back (see giveBack).
    const size_t mapped = (size + pageSize() - 1) / pageSize() * pageSize();
    void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return FileRead::TooLarge;
    // Large pages where the system offers them on request: filling hundreds of megabytes page by
    // page costs more than reading the file.
    (void)::madvise(memory, mapped, MADV_HUGEPAGE);
    m_data = static_cast<uint8_t*>(memory);
    m_mapped = mapped;
    m_size = size;
    if (!readWholeFile(fd, m_data, size)) {
        reset();
        return FileRead::ReadFailed;
    }
    return FileRead::Ok;
}

SharedBytes FileBuffer::part(std::shared_ptr<const FileBuffer> buffer, const uint8_t* data, size_t size) {
    struct Part {
        Part(std::shared_ptr<const FileBuffer> b, const uint8_t* first, const uint8_t* last)
            : buffer(std::move(b)), begin(first), end(last) {}
        Part(const Part&) = delete;
        Part& operator=(const Part&) = delete;
        ~Part() { buffer->giveBack(begin, end); }
        std::shared_ptr<const FileBuffer> buffer;
        const uint8_t* begin;
        const uint8_t* end;
    };
    auto owner = std::make_shared<const Part>(std::move(buffer), data, data + size);
    return SharedBytes(std::move(owner), data, size);
}

void FileBuffer::giveBack(const uint8_t* begin, const uint8_t* end) const {
    // Only the pages wholly inside the part: its neighbours may still be held.
    const uintptr_t page = pageSize();
    const uintptr_t first = (reinterpret_cast<uintptr_t>(begin) + page - 1) / page * page;
    const uintptr_t last = reinterpret_cast<uintptr_t>(end) / page * page;
    if (last > first)
        (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace quib

#include "base/file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace quib {

namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

FileRead openRegularFile(const std::string& path, uint64_t maxBytes, Descriptor& file, size_t& size) {
    // Non-blocking open: a FIFO must not hold the reader before it is refused.
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file.fd < 0)
        return FileRead::CannotOpen;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return FileRead::ReadFailed;
    if (!S_ISREG(info.st_mode))
        return FileRead::NotRegular;
    if (uint64_t(info.st_size) > maxBytes || uint64_t(info.st_size) > SIZE_MAX / 2)
        return FileRead::TooLarge;
    size = size_t(info.st_size);
    return FileRead::Ok;
}

// Reads what the size said; a file that grows meanwhile is read as it was.
bool readExactly(int fd, uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, out + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

size_t pageSize() {
    static const size_t size = size_t(::sysconf(_SC_PAGESIZE));
    return size;
}

}  // namespace

FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    bytes.clear();
    Descriptor file{-1};
    size_t size = 0;
    if (FileRead opened = openRegularFile(path, maxBytes, file, size); opened != FileRead::Ok)
        return opened;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return FileRead::TooLarge;
    }
    if (!readExactly(file.fd, bytes.data(), bytes.size())) {
        bytes.clear();
        return FileRead::ReadFailed;
    }
    return FileRead::Ok;
}

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
    Descriptor file{-1};
    size_t size = 0;
    if (FileRead opened = openRegularFile(path, maxBytes, file, size); opened != FileRead::Ok)
        return opened;
    if (size == 0)
        return FileRead::Ok;
    // Pages of their own, so that release() can hand back a prefix while the rest is read.
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
    if (!readExactly(file.fd, m_data, size)) {
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

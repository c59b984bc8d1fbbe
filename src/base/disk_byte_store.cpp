#include "base/disk_byte_store.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace quib {

namespace {

// The file is mapped in segments of at least this size, each mapped once.
constexpr uint64_t kSegmentBytes = uint64_t(256) << 20;

bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

int openNamelessFile(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    // File systems without unnamed files: a named one, unlinked at once.
    std::string name = folder + "/.qb-frames-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(name.c_str());
    return fd;
}

bool writeAt(int fd, const uint8_t* data, size_t size, uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n, size -= size_t(n), offset += uint64_t(n);
    }
    return true;
}

}  // namespace

struct DiskByteStore::File {
    explicit File(int descriptor) : fd(descriptor) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { ::close(fd); }
    int fd;
};

// One mapped stretch of the file; the descriptor lives as long as any segment needs the file.
struct DiskByteStore::Segment {
    Segment(std::shared_ptr<File> f, uint64_t o, uint64_t s, uint8_t* m)
        : file(std::move(f)), offset(o), size(s), memory(m) {}
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;
    ~Segment() {
        ::munmap(memory, size);
        // The disk space goes back when the last part of the stretch is gone.
        (void)::fallocate(file->fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, off_t(offset), off_t(size));
    }
    std::shared_ptr<File> file;
    uint64_t offset;
    uint64_t size;
    uint8_t* memory;
    uint64_t used = 0;
};

namespace {

std::mutex g_segmentsMutex;
std::vector<std::weak_ptr<DiskByteStore::Segment>>& liveSegments() {
    static std::vector<std::weak_ptr<DiskByteStore::Segment>> segments;
    return segments;
}

}  // namespace

void DiskByteStore::dropReadPages() {
    std::lock_guard lock(g_segmentsMutex);
    std::erase_if(liveSegments(), [](const std::weak_ptr<Segment>& weak) {
        const std::shared_ptr<Segment> segment = weak.lock();
        if (segment)
            (void)::madvise(segment->memory, segment->size, MADV_DONTNEED);
        return !segment;
    });
}

std::string DiskByteStore::defaultFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return std::string(cache) + "/quib";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::string(home) + "/.cache/quib";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp == '/' ? tmp : "/tmp";
}

std::shared_ptr<DiskByteStore> DiskByteStore::create(const std::string& folder) {
    if (folder.empty() || !makeFolders(folder))
        return nullptr;
    const int fd = openNamelessFile(folder);
    if (fd < 0)
        return nullptr;
    return std::shared_ptr<DiskByteStore>(new DiskByteStore(std::make_shared<File>(fd)));
}

SharedBytes DiskByteStore::keep(std::span<const uint8_t> bytes) {
    if (bytes.empty())
        return {};
    if (!m_segment || m_segment->used + bytes.size() > m_segment->size) {
        const int fd = m_file->fd;
        const long page = ::sysconf(_SC_PAGESIZE);
        const uint64_t size =
            std::max(kSegmentBytes, (bytes.size() + uint64_t(page) - 1) / uint64_t(page) * uint64_t(page));
        const uint64_t offset = (m_end + uint64_t(page) - 1) / uint64_t(page) * uint64_t(page);
        if (::ftruncate(fd, off_t(offset + size)) != 0)
            return {};
        void* memory = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, off_t(offset));
        if (memory == MAP_FAILED)
            return {};
        m_segment = std::make_shared<Segment>(m_file, offset, size, static_cast<uint8_t*>(memory));
        std::lock_guard lock(g_segmentsMutex);
        liveSegments().push_back(m_segment);
        m_end = offset;
    }
    Segment& segment = *m_segment;
    // A full disk shows here, not later as a fault when the mapping is read.
    if (::fallocate(m_file->fd, 0, off_t(segment.offset + segment.used), off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP)
        return {};
    if (!writeAt(m_file->fd, bytes.data(), bytes.size(), segment.offset + segment.used))
        return {};
    const uint8_t* data = segment.memory + segment.used;
    segment.used += bytes.size();
    m_end = segment.offset + segment.used;
    return SharedBytes(m_segment, data, bytes.size());
}

}  // namespace quib

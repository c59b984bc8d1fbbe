#include "base/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    bytes.clear();
    // Non-blocking open: a FIFO must not hold the reader before it is refused.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0)
        return FileRead::CannotOpen;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return FileRead::ReadFailed;
    if (!S_ISREG(info.st_mode))
        return FileRead::NotRegular;
    if (uint64_t(info.st_size) > maxBytes)
        return FileRead::TooLarge;
    try {
        bytes.resize(size_t(info.st_size));
    } catch (const std::bad_alloc&) {
        return FileRead::TooLarge;
    }
    // Reads what the size said; a file that grows meanwhile is read as it was.
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            bytes.clear();
            return FileRead::ReadFailed;
        }
        done += size_t(n);
    }
    return FileRead::Ok;
}

}  // namespace quib

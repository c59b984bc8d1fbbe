#include "base/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <new>

namespace quib {

namespace {

#ifdef _WIN32
// Names are UTF-8; Windows opens them through their wide form.
int openForReading(const std::string& path) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return -1;
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    return ::_wopen(wide.c_str(), _O_RDONLY | _O_BINARY);
}
using FileInfo = struct _stat64;
int fileInfo(int fd, FileInfo* info) {
    return ::_fstat64(fd, info);
}
#else
int openForReading(const std::string& path) {
    // Non-blocking open: a FIFO must not hold the reader before it is refused.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}
using FileInfo = struct stat;
int fileInfo(int fd, FileInfo* info) {
    return ::fstat(fd, info);
}
#endif

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

FileRead openWholeFile(const std::string& path, uint64_t maxBytes, int& fd, size_t& size) {
    fd = openForReading(path);
    if (fd < 0)
        return FileRead::CannotOpen;
    FileInfo info{};
    FileRead result = FileRead::Ok;
    if (fileInfo(fd, &info) != 0)
        result = FileRead::ReadFailed;
    else if (!S_ISREG(info.st_mode))
        result = FileRead::NotRegular;
    else if (uint64_t(info.st_size) > maxBytes || uint64_t(info.st_size) > SIZE_MAX / 2)
        result = FileRead::TooLarge;
    if (result != FileRead::Ok) {
        ::close(fd);
        fd = -1;
        return result;
    }
    size = size_t(info.st_size);
    return FileRead::Ok;
}

bool readWholeFile(int fd, uint8_t* out, size_t size) {
    // Reads what the size said; a file that grows meanwhile is read as it was.
    size_t done = 0;
    while (done < size) {
        const size_t chunk = std::min<size_t>(size - done, size_t(1) << 30);
        const auto n = ::read(fd, out + done, static_cast<unsigned>(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    bytes.clear();
    Descriptor file{-1};
    size_t size = 0;
    if (FileRead opened = openWholeFile(path, maxBytes, file.fd, size); opened != FileRead::Ok)
        return opened;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return FileRead::TooLarge;
    }
    if (!readWholeFile(file.fd, bytes.data(), bytes.size())) {
        bytes.clear();
        return FileRead::ReadFailed;
    }
    return FileRead::Ok;
}

}  // namespace quib

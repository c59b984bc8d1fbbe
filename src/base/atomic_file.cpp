#include "base/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace quib {

namespace {

constexpr std::string_view kPrefix = ".qb-";
constexpr size_t kRandomChars = 6;
constexpr size_t kMaxSuffix = 32;
constexpr size_t kBufferSize = 64 * 1024;
// A temporary file untouched this long, and held by no writer, is what a killed save left.
constexpr time_t kStaleSeconds = 15 * 60;
constexpr int kMaxLinks = 40;

std::atomic<AtomicFileFault> g_fault{AtomicFileFault::None};
std::atomic<uint64_t> g_faultBytes{0};

bool faultAt(AtomicFileFault step) {
    if (g_fault.load() != step)
        return false;
    errno = step == AtomicFileFault::Write ? ENOSPC : EIO;
    return true;
}

// Up to and including the last slash; empty for a bare name.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string folderToOpen(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

// The file a save through path replaces: the end of a chain of symbolic links, or path itself.
// Empty when the chain does not end.
std::string resolveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string link(size_t(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0 || size_t(n) >= link.size())
            return {};
        link.resize(size_t(n));
        current = link.starts_with('/') ? link : folderOf(current) + link;
    }
    errno = ELOOP;
    return {};
}

std::string randomChars() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::atomic<uint64_t> counter{0};
    uint8_t bytes[kRandomChars] = {};
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != ssize_t(sizeof bytes)) {
        // Without the kernel's randomness a mix of time, process and count still differs per try.
        uint64_t mix =
            std::hash<uint64_t>{}(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                                  (uint64_t(::getpid()) << 32) ^ counter.fetch_add(0x9E3779B97F4A7C15ull));
        for (uint8_t& b : bytes) {
            b = uint8_t(mix);
            mix = (mix >> 8) | (mix << 56);
        }
    }
    std::string out;
    for (uint8_t b : bytes)
        out += kAlphabet[b % (sizeof kAlphabet - 1)];
    return out;
}

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isTemporaryName(std::string_view name) {
    if (!name.starts_with(kPrefix) || name.size() < kPrefix.size() + kRandomChars)
        return false;
    for (size_t i = kPrefix.size(); i < kPrefix.size() + kRandomChars; ++i) {
        if (!isAlnum(name[i]))
            return false;
    }
    return name.size() == kPrefix.size() + kRandomChars || name[kPrefix.size() + kRandomChars] == '.';
}

// Only our own names, only the user's files, only files left alone for a while and not locked by
// a writer still at work (every open temporary file holds a lock until it is committed or dropped).
void removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folderToOpen(folder).c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    const time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            now - info.st_mtime > kStaleSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

void syncFolder(const std::string& folder) {
    // Makes the rename itself durable; some file systems cannot sync a folder, which is no failure.
    const int fd = ::open(folderToOpen(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void setAtomicFileFault(AtomicFileFault fault, uint64_t afterBytes) {
    g_faultBytes.store(afterBytes);
    g_fault.store(fault);
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& path, std::string_view suffix) {
    discard();
    m_failed = false;
    m_size = 0;
    m_flushed = 0;
    m_buffer.clear();
    if (suffix.size() > kMaxSuffix) {
        errno = ENAMETOOLONG;
        return false;
    }
    m_target = resolveTarget(path);
    if (m_target.empty())
        return false;
    const std::string folder = folderOf(m_target);
    removeStaleTemporaries(folder);
    // Created with the usual permissions (the umask applies) under a name of fixed length, so
    // that a target name near the system's limit still has room beside it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = folder;
        temp += kPrefix;
        temp += randomChars();
        temp += suffix;
        m_fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temp = std::move(temp);
            break;
        }
        if (errno != EEXIST)
            return false;
    }
    if (m_fd < 0)
        return false;
    // Tells a later cleaner in the same folder that this file is still being written.
    (void)::flock(m_fd, LOCK_EX | LOCK_NB);
    return true;
}

bool AtomicFile::write(const void* data, size_t size) {
    if (m_fd < 0 || m_failed)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    m_size += size;
    if (m_buffer.size() + size > kBufferSize) {
        if (!flush())
            return false;
        if (size >= kBufferSize)
            return writeOut(bytes, size);
    }
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    return true;
}

bool AtomicFile::flush() {
    const bool ok = writeOut(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

bool AtomicFile::writeOut(const uint8_t* data, size_t size) {
    if (g_fault.load() == AtomicFileFault::Write) {
        const uint64_t limit = g_faultBytes.load();
        const uint64_t room = limit > m_flushed ? limit - m_flushed : 0;
        if (size > room) {
            (void)writeAll(m_fd, data, size_t(room));
            m_flushed += room;
            faultAt(AtomicFileFault::Write);
            m_failed = true;
            return false;
        }
    }
    if (!writeAll(m_fd, data, size)) {
        m_failed = true;
        return false;
    }
    m_flushed += size;
    return true;
}

bool AtomicFile::commit() {
    if (m_fd < 0 || m_failed || !flush()) {
        discard();
        return false;
    }
    return finish(m_fd);
}

bool AtomicFile::commitWrittenFile() {
    if (m_fd < 0 || m_failed) {
        discard();
        return false;
    }
    // The other library may have made a new file under the name; sync and rename what is there.
    const int fd = ::open(m_temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        discard();
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok && g_fault.load() == AtomicFileFault::Write && uint64_t(info.st_size) > g_faultBytes.load())
        ok = !faultAt(AtomicFileFault::Write);
    ok = ok && finish(fd);
    ::close(fd);
    if (!ok)
        discard();
    return ok;
}

bool AtomicFile::finish(int fd) {
    bool ok = !faultAt(AtomicFileFault::Sync) && ::fsync(fd) == 0;

    // The replacement takes the place of the old file with its mode, owner and group.
    struct stat own {};
    struct stat old {};
    ok = ok && ::fstat(fd, &own) == 0;
    mode_t mode = own.st_mode & 07777;
    if (ok && ::stat(m_target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // Only root may give a file away and only members may change its group: do what is
        // allowed. A change of owner drops set-id bits, so the mode comes after it.
        if (old.st_uid != own.st_uid || old.st_gid != own.st_gid) {
            if (::fchown(fd, old.st_uid, old.st_gid) != 0)
                (void)::fchown(fd, own.st_uid, old.st_gid);
        }
        mode = old.st_mode & 07777;
    }
    if (m_executable)
        mode |= (mode & 0444) >> 2;
    ok = ok && ::fchmod(fd, mode) == 0;

    ok = ok && !faultAt(AtomicFileFault::Rename) && ::rename(m_temp.c_str(), m_target.c_str()) == 0;
    if (!ok) {
        discard();
        return false;
    }
    syncFolder(folderOf(m_target));
    m_temp.clear();
    discard();
    return true;
}

void AtomicFile::discard() {
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_buffer.clear();
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size) {
    AtomicFile file;
    return file.open(path) && file.commit(data, size);
}

}  // namespace quib

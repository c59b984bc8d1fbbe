#include "export/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace quib {

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& path) {
    discard();
    static std::atomic<unsigned> counter{0};
    // Created with the usual permissions (the umask applies), under a name no one else uses.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temp =
            folderOf(path) + ".quib-export-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temp.clear();
        return false;
    }
    m_path = path;
    return true;
}

bool AtomicFile::commit(const std::vector<uint8_t>& bytes) {
    return commit(bytes.data(), bytes.size());
}

bool AtomicFile::commit(const std::string& bytes) {
    return commit(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool AtomicFile::commit(const uint8_t* data, size_t size) {
    if (m_fd < 0)
        return false;
    bool ok = true;
    while (ok && size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            data += n;
            size -= size_t(n);
        }
    }
    ok = ok && ::fsync(m_fd) == 0;
    ok = (::close(m_fd) == 0) && ok;
    m_fd = -1;
    ok = ok && std::rename(m_temp.c_str(), m_path.c_str()) == 0;
    if (!ok) {
        ::unlink(m_temp.c_str());
    }
    m_temp.clear();
    return ok;
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

}  // namespace quib

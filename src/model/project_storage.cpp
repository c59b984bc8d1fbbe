#include "project_storage.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/file_bytes.h"
#include "base/strings.h"
#include "output_path.h"
#include "project_file.h"

namespace quib {

namespace {

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

}  // namespace

Status writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    const Status cannotCreate = Status::failure(str::CannotCreateFile);
    // Created with the usual permissions (the umask applies), under a name no one else uses.
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp =
            projectDirOf(path) + ".quib-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return cannotCreate;
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return cannotCreate;
    }
    // Make the rename itself durable.
    const std::string dir = projectDirOf(path).empty() ? "." : projectDirOf(path);
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return Status::success();
}

Status ReadDocumentFile(const std::string& path, std::vector<uint8_t>& bytes) {
    switch (readFileBytes(path, bytes)) {
        case FileRead::CannotOpen:
            return Status::failure(str::FileNotFound, formatString1(str::FileNotFound, path));
        case FileRead::ReadFailed:
            return Status::failure(str::UnexpectedFormat);
        case FileRead::Ok:
            break;
    }
    return Status::success();
}

Status LoadProject(const std::string& path, CQuibDoc& doc, Progress& progress, ProjectFileHeader* header) {
    std::vector<uint8_t> bytes;
    if (Status read = ReadDocumentFile(path, bytes); !read)
        return read;
    Status status = ProjectFile::load(bytes, doc, path, progress, header);
    if (!status)
        return status;
    doc.setPathName(path);
    doc.SetModifiedFlag(false);
    doc.UpdateAllViews(hint::Everything);
    return status;
}

Status SaveProject(const std::string& path, CQuibDoc& doc, Progress& progress) {
    const std::vector<uint8_t> bytes = ProjectFile::store(doc, path, progress);
    Status status = writeFileAtomically(path, bytes);
    if (!status)
        return status;
    doc.setPathName(path);
    doc.SetModifiedFlag(false);
    return status;
}

Status SaveProjectCompressed(const std::string& path, CQuibDoc& doc, Progress& progress) {
    doc.compressedSave = true;
    doc.SetModifiedFlag(true);
    Status status = SaveProject(path, doc, progress);
    doc.compressedSave = false;
    return status;
}

}  // namespace quib

#include "project_storage.h"

#include <string>

#include "base/atomic_file.h"
#include "base/disk_byte_store.h"
#include "base/file_buffer.h"
#include "base/strings.h"
#include "project_file.h"

namespace quib {

namespace {

Status readStatus(FileRead read, const std::string& path) {
    switch (read) {
        case FileRead::CannotOpen:
            return Status::failure(str::FileNotFound, formatString1(str::FileNotFound, path));
        case FileRead::ReadFailed:
        case FileRead::NotRegular:
        case FileRead::TooLarge:
            return Status::failure(str::UnexpectedFormat);
        case FileRead::Ok:
            break;
    }
    return Status::success();
}

}  // namespace

Status ReadDocumentFile(const std::string& path, std::vector<uint8_t>& bytes) {
    return readStatus(readFileBytes(path, bytes), path);
}

Status LoadProject(const std::string& path, CQuibDoc& doc, Progress& progress, ProjectFileHeader* header) {
    auto file = std::make_shared<FileBuffer>();
    if (Status read = readStatus(file->read(path), path); !read)
        return read;
    Status status = ProjectFile::load(file, doc, path, progress, header);
    if (!status)
        return status;
    doc.setPathName(path);
    doc.SetModifiedFlag(false);
    doc.UpdateAllViews(hint::Everything);
    return status;
}

Status SaveProject(const std::string& path, CQuibDoc& doc, Progress& progress) {
    AtomicFile file;
    const bool written =
        file.open(path) && ProjectFile::write(doc, path, progress, [&file](const uint8_t* data, size_t size) {
            return file.write(data, size);
        });
    DiskByteStore::dropReadPages();
    if (!written || !file.commit())
        return Status::failure(str::CannotCreateFile);
    doc.setPathName(path);
    doc.SetModifiedFlag(false);
    return Status::success();
}

Status SaveProjectCompressed(const std::string& path, CQuibDoc& doc, Progress& progress) {
    doc.compressedSave = true;
    doc.SetModifiedFlag(true);
    Status status = SaveProject(path, doc, progress);
    doc.compressedSave = false;
    return status;
}

}  // namespace quib

#include "project_storage.h"

#include <string>

#include "base/atomic_file.h"
#include "base/file_bytes.h"
#include "base/strings.h"
#include "project_file.h"

namespace quib {

Status ReadDocumentFile(const std::string& path, std::vector<uint8_t>& bytes) {
    switch (readFileBytes(path, bytes)) {
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
    if (!writeFileAtomically(path, bytes))
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

#pragma once

#include <string>
#include <vector>

#include "base/progress.h"
#include "base/status.h"
#include "project_file.h"
#include "quib_doc.h"

namespace quib {

// A whole file of the program's own: "file not found" when it cannot be opened, the format
// message when reading fails.
Status ReadDocumentFile(const std::string& path, std::vector<uint8_t>& bytes);

// Reads a ".qbk" file into doc (see ProjectFile::load); on success doc takes the path, its title
// and an unmodified state, and the observers hear hint 0.
Status LoadProject(const std::string& path, CQuibDoc& doc, Progress& progress,
                   ProjectFileHeader* header = nullptr);

// Writes doc to path atomically: a temporary file in the same folder, flushed and synced, then
// renamed over the target. On failure the old file stays whole ("Impossibile creare il file").
Status SaveProject(const std::string& path, CQuibDoc& doc, Progress& progress);

// The compressed save: the compressed variant for this one save.
Status SaveProjectCompressed(const std::string& path, CQuibDoc& doc, Progress& progress);

}  // namespace quib

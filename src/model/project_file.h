#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_buffer.h"
#include "base/progress.h"
#include "base/status.h"
#include "quib_doc.h"

namespace quib {

struct ProjectFileHeader {
    uint16_t version = 0;
    bool compressed = false;
    uint32_t frameCount = 0;
};

// The ".qbk" project file over byte buffers: normal and compressed variants.
class ProjectFile {
public:
    static constexpr uint32_t kMagic = 0x51425052;  // "RPBQ"
    static constexpr uint16_t kVersion = 0x0100;
    static constexpr const char* kExtension = ".qbk";
    // Default name, type name, filter, extension and identifiers of the project document type.
    static constexpr const char* kDocumentTypeString =
        "\nSenzatitolo\nQuib\nQuib Projects (*.qbk)\n.qbk\nQuib.Document\nQuib Project";
    // Largest picture (frame or background) a file may describe; guards allocations.
    static constexpr size_t kMaxPictureBytes = size_t(512) << 20;

    // Commits pending edits of the current frame, then writes the project; doc.compressedSave
    // chooses the variant. filePath (may be empty) gives the folder the output name is relative to.
    static std::vector<uint8_t> store(CQuibDoc& doc, const std::string& filePath, Progress& progress);
    // The same, handed to sink piece by piece: frame streams go out as they are, without a copy
    // of the whole file. Stops at the first piece the sink refuses and returns false.
    using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;
    static bool write(CQuibDoc& doc, const std::string& filePath, Progress& progress, const ByteSink& sink);

    // Parses into a fresh project and only on success replaces doc's contents (doc.settingsOnly
    // is honoured), then selects frame 0. A malformed file leaves doc as it was and fails with
    // "Formato del file inaspettato.".
    static Status load(const std::vector<uint8_t>& bytes, CQuibDoc& doc, const std::string& filePath,
                       Progress& progress, ProjectFileHeader* header = nullptr) {
        return load(bytes.data(), bytes.size(), doc, filePath, progress, header);
    }
    // The frames keep their streams where they lie in file, without a copy.
    static Status load(const std::shared_ptr<const FileBuffer>& file, CQuibDoc& doc,
                       const std::string& filePath, Progress& progress, ProjectFileHeader* header = nullptr) {
        return load(file->data(), file->size(), doc, filePath, progress, header, file);
    }
    // file, when given, holds data and keeps the frames' streams.
    static Status load(const uint8_t* data, size_t size, CQuibDoc& doc, const std::string& filePath,
                       Progress& progress, ProjectFileHeader* header = nullptr,
                       const std::shared_ptr<const FileBuffer>& file = {});
};

}  // namespace quib

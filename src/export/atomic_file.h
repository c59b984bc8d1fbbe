#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quib {

// A file that appears whole or not at all: open() creates a temporary file beside the target at
// once (so that a folder that cannot take the file is found before any work), commit() fills it,
// syncs it and renames it over the target. Dropped without a commit, the temporary file goes.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    bool open(const std::string& path);
    bool commit(const std::vector<uint8_t>& bytes);
    bool commit(const std::string& bytes);
    void discard();

private:
    bool commit(const uint8_t* data, size_t size);

    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
};

}  // namespace quib

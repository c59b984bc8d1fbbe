#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/shared_bytes.h"

namespace quib {

// Bytes moved out of memory into a file of the program's cache folder and read back through a
// mapping, so that a long capture does not hold every picture in memory. The file has no name
// (or loses it at once): nothing is left behind however the program ends. Kept bytes stay valid
// while any SharedBytes made here lives; the store itself may be dropped before them.
class DiskByteStore {
public:
    // A store in folder (made when missing); null when no file can be made there.
    static std::shared_ptr<DiskByteStore> create(const std::string& folder);
    // The cache folder of the user: $XDG_CACHE_HOME/quib, else ~/.cache/quib, else the
    // temporary folder.
    static std::string defaultFolder();

    DiskByteStore(const DiskByteStore&) = delete;
    DiskByteStore& operator=(const DiskByteStore&) = delete;

    // A copy of bytes that lives on disk; empty when writing failed (a full disk), so the caller
    // keeps its own.
    SharedBytes keep(std::span<const uint8_t> bytes);

    // Unmaps the pages that readers have touched in every store of the process: after a pass over
    // all frames (a save) they would otherwise count as the program's memory, though the system
    // can take them back. Later reads map them again from the file.
    static void dropReadPages();

    // Bytes written to the file so far.
    uint64_t storedBytes() const { return m_end; }

    struct Segment;

private:
    struct File;
    explicit DiskByteStore(std::shared_ptr<File> file) : m_file(std::move(file)) {}
    std::shared_ptr<File> m_file;
    uint64_t m_end = 0;
    std::shared_ptr<Segment> m_segment;
};

}  // namespace quib

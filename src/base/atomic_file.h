#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quib {

// The one way the programs write a file: it appears whole or not at all.
//
// open() at once creates a temporary file with a short random name (".qb-" and six characters)
// in the target's folder, so that a folder that cannot take the file is found before any work.
// The bytes go there (streamed with write(), or all at once with commit()); commit() syncs the
// file, gives it the replaced file's mode, owner and group (new files: 0666 less the umask),
// renames it over the target and syncs the folder. On any failure, and when the object is
// dropped uncommitted, the temporary file goes and the old file is untouched.
//
// A target that is a symbolic link is resolved to the final file, which is replaced; the link
// stays a link. A file with several hard links is split: the target name gets the new file, the
// other names keep the old one (the price of never writing over the old bytes in place).
//
// Temporary files of a save killed half way are removed by a later open() in the same folder,
// once they are some minutes old.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // suffix ends the temporary file's name (at most 32 bytes), for writers that look at the
    // extension. Reopening discards what an earlier open left uncommitted.
    bool open(const std::string& path, std::string_view suffix = {});
    bool isOpen() const { return m_fd >= 0; }

    // Appends to the temporary file; false once any write has failed.
    bool write(const void* data, size_t size);
    bool write(const std::vector<uint8_t>& bytes) { return write(bytes.data(), bytes.size()); }
    bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    // Bytes given to write() so far.
    uint64_t size() const { return m_size; }

    // The replacement also gets execute permission wherever it has read permission.
    void setExecutable(bool executable) { m_executable = executable; }

    // Replaces the target with what was written (plus the bytes given here).
    bool commit();
    bool commit(const void* data, size_t size) {
        (void)write(data, size);  // a failed write makes commit() fail and clean up
        return commit();
    }
    bool commit(const std::vector<uint8_t>& bytes) { return commit(bytes.data(), bytes.size()); }
    bool commit(std::string_view bytes) { return commit(bytes.data(), bytes.size()); }

    // For a library that writes the file itself by path: it writes temporaryPath() (which exists,
    // empty), then commitWrittenFile() replaces the target with it.
    const std::string& temporaryPath() const { return m_temp; }
    bool commitWrittenFile();

    // Drops the temporary file; the target stays as it was.
    void discard();

    // The file that commit() replaces: the path given, or the final target of a symbolic link.
    const std::string& target() const { return m_target; }

private:
    bool flush();
    bool writeOut(const uint8_t* data, size_t size);
    bool finish(int fd);

    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    bool m_failed = false;
    bool m_executable = false;
    uint64_t m_size = 0;
    uint64_t m_flushed = 0;
    std::vector<uint8_t> m_buffer;
};

// One whole file at once.
bool writeFileAtomically(const std::string& path, const void* data, size_t size);
inline bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFileAtomically(path, bytes.data(), bytes.size());
}
inline bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

// Test only: makes every AtomicFile of the process fail at one step, so that tests can show what
// a failed save leaves behind. Write: each file takes its first afterBytes bytes, then the disk
// is full (a file written by another library fails at commit when it is longer). Sync and
// Rename: that system call fails. Stays until set back to None.
enum class AtomicFileFault { None, Write, Sync, Rename };
void setAtomicFileFault(AtomicFileFault fault, uint64_t afterBytes = 0);

}  // namespace quib

#pragma once

// What the benchmarks on real screen recordings share: a work folder removed at the end of the
// run, and the frames of screen_frames.py (f_NNNN.png and frames.raw, blue, green, red, x), made
// once into it or taken from QUIB_BENCH_FRAMES_DIR.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace quib::bench {

class WorkFolder {
public:
    explicit WorkFolder(const std::string& name) {
        std::string pattern = "/tmp/quib-" + name + "-XXXXXX";
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder() {
        std::error_code error;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, error);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The folder holding count recorded frames; empty when they could not be made (python3-pil).
inline std::filesystem::path recordedFrames(const std::filesystem::path& workFolder, int count) {
    if (const char* given = std::getenv("QUIB_BENCH_FRAMES_DIR"))
        return given;
    const std::filesystem::path made = workFolder / "frames";
    const std::string command = "/usr/bin/python3 '" QUIB_SHARED_BENCH_DIR "/screen_frames.py' " +
                                std::to_string(count) + " '" + made.string() + "' '" +
                                (made / "frames.raw").string() + "' > /dev/null";
    return std::system(command.c_str()) == 0 ? made : std::filesystem::path();
}

}  // namespace quib::bench

#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quib::test {

// A temporary folder removed with the object.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/quib-test-XXXXXX";
        if (::mkdtemp(pattern))
            m_dir = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return m_dir + "/" + name; }
    // The path in single quotes, for a shell command.
    std::string quoted(const std::string& name) const { return "'" + path(name) + "'"; }
    const std::string& dir() const { return m_dir; }

private:
    std::string m_dir;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// The exit status of a shell command; -1 when it did not exit.
inline int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

// quib-cli with a data home of its own in dir, so the user's callout library never enters.
inline CliRun runQuibCli(const TempDir& dir, const std::string& args) {
    CliRun run;
    run.status = runCommand("XDG_DATA_HOME=" + dir.quoted("data") + " " + QUIB_BUILD_DIR + "/cli/quib-cli " +
                            args + " >" + dir.quoted("stdout.txt") + " 2>" + dir.quoted("stderr.txt"));
    run.out = readFile(dir.path("stdout.txt"));
    run.err = readFile(dir.path("stderr.txt"));
    return run;
}

}  // namespace quib::test

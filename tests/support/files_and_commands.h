#pragma once

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace quib::test {

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

// A file of dir in single quotes, for a shell command.
inline std::string quoted(const TempDir& dir, const std::string& name) {
    return "'" + dir.path(name) + "'";
}

// The exit status of a shell command; -1 when it did not exit.
inline int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whether program is found on the PATH.
inline bool programInstalled(const std::string& program) {
    return runCommand("command -v " + program + " >/dev/null 2>&1") == 0;
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

// quib-cli with its home and data home in dir, so that no user data enters.
inline CliRun runQuibCli(const TempDir& dir, const std::string& args) {
    CliRun run;
    run.status = runCommand("HOME='" + dir.dir() + "' XDG_DATA_HOME=" + quoted(dir, "data") +
                            " QT_QPA_PLATFORM=offscreen " + QUIB_BUILD_DIR + "/cli/quib-cli " + args + " >" +
                            quoted(dir, "stdout.txt") + " 2>" + quoted(dir, "stderr.txt"));
    run.out = readFile(dir.path("stdout.txt"));
    run.err = readFile(dir.path("stderr.txt"));
    return run;
}

// A folder of its own where quib-cli runs; the last run is kept.
struct CliFolder {
    const CliRun& run(const std::string& args) { return last = runQuibCli(dir, args); }
    int status(const std::string& args) { return run(args).status; }
    std::string path(const std::string& name) const { return dir.path(name); }
    std::string quoted(const std::string& name) const { return test::quoted(dir, name); }

    TempDir dir;
    CliRun last;
};

}  // namespace quib::test

#include "player_executable.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/file_bytes.h"

namespace quib {

namespace {

constexpr const char* kPlayerName = "quib-player";

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string findPlayerExecutable() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = self.parent_path() / kPlayerName;
        if (isExecutableFile(beside))
            return beside.string();
    }
#ifdef QUIB_PLAYER_BUILD_PATH
    if (isExecutableFile(QUIB_PLAYER_BUILD_PATH))
        return QUIB_PLAYER_BUILD_PATH;
#endif
#ifdef QUIB_INSTALL_BIN_DIR
    const std::filesystem::path installed = std::filesystem::path(QUIB_INSTALL_BIN_DIR) / kPlayerName;
    if (isExecutableFile(installed))
        return installed.string();
#endif
    return {};
}

Status readPlayerExecutable(const std::string& path, std::vector<uint8_t>& bytes) {
    const std::string found = path.empty() ? findPlayerExecutable() : path;
    if (found.empty())
        return Status::failureText("Impossibile trovare il programma quib-player");
    if (readFileBytes(found, bytes) != FileRead::Ok || bytes.empty())
        return Status::failureText("Impossibile leggere il programma " + found);
    return Status::success();
}

}  // namespace quib

#include "player_executable.h"

#include <filesystem>
#include <system_error>

#include "base/file_bytes.h"

namespace quib {

namespace {

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string projectorFileName(OutputType type) {
    switch (type) {
        case OutputType::Executable:
            return "quib-projector.exe";
        case OutputType::LinuxExecutable:
            return "quib-projector";
        default:
            return {};
    }
}

std::string findProjector(OutputType type) {
    const std::string name = projectorFileName(type);
    if (name.empty())
        return {};
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        folders.push_back((self.parent_path() / "../share/quib/projectors").lexically_normal());
#ifdef QUIB_PROJECTOR_BUILD_DIR
    folders.emplace_back(QUIB_PROJECTOR_BUILD_DIR);
#endif
#ifdef QUIB_PROJECTOR_INSTALL_DIR
    folders.emplace_back(QUIB_PROJECTOR_INSTALL_DIR);
#endif
    for (const std::filesystem::path& folder : folders)
        if (isRegularFile(folder / name))
            return (folder / name).string();
    return {};
}

Status readProjector(OutputType type, const std::string& path, std::vector<uint8_t>& bytes) {
    const std::string found = path.empty() ? findProjector(type) : path;
    if (found.empty())
        return Status::failureText("Impossibile trovare il programma " + projectorFileName(type));
    if (readFileBytes(found, bytes) != FileRead::Ok || bytes.empty())
        return Status::failureText("Impossibile leggere il programma " + found);
    return Status::success();
}

}  // namespace quib

#include "shapes/callout_library_lookup.h"

#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "shapes/default_callouts.h"

namespace quib {

namespace {

std::string programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace

std::vector<std::string> calloutLibraryFiles() {
    std::vector<std::string> folders;
    // The application's data folder, named here so that programs which never name themselves
    // (quib-cli) read the same one.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!generic.isEmpty())
        folders.push_back(generic.toStdString() + "/Corvander/Quib");
    if (const std::string program = programFolder(); !program.empty())
        folders.push_back(program + "/../share/quib");
    folders.push_back(QUIB_BUILD_DATA_DIR);
    folders.push_back(QUIB_INSTALL_DATA_DIR);
    std::vector<std::string> files;
    for (const std::string& folder : folders)
        files.push_back(
            std::filesystem::path(folder + "/" + kCalloutLibraryFileName).lexically_normal().string());
    return files;
}

FoundCalloutLibrary findCalloutLibrary(const std::vector<std::string>& files) {
    FoundCalloutLibrary found;
    for (const std::string& file : files) {
        CalloutLibrary library;
        bool exists = false;
        const Status status = library.LoadLibrary(file, &exists);
        if (!exists)
            continue;
        if (!status) {
            found.problems.push_back(status.message());
            continue;
        }
        found.library = std::move(library);
        found.path = file;
        return found;
    }
    found.library = defaultCalloutLibrary();
    return found;
}

}  // namespace quib

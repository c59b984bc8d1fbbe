#include "imagefilters/filter_table.h"

#include <dirent.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace quib {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isPluginFileName(const std::string& name) {
    return name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0;
}

// The names of the folder's entries in the order the file system lists them.
std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

}  // namespace

bool FilterTable::addEntry(void* library, const FilterCaps* caps) {
    if (size() >= kMaxFilterEntries || !caps)
        return false;
    m_entries.push_back({library, caps});
    return true;
}

int FilterTable::loadFilters(const std::string& folder, FilterTools* tools, uint32_t mask, bool reset) {
    if (reset)
        m_entries.clear();
    int added = 0;
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    for (const std::string& name : listFolder(folder)) {
        if (!isPluginFileName(name))
            continue;
        const std::string path = prefix + name;
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        // By full path, so that the dynamic loader never searches its own paths instead.
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library)
            continue;
        auto getCaps = reinterpret_cast<GetFilterCapsFn>(dlsym(library, QUIB_GET_FILTER_CAPS_NAME));
        auto setTools = reinterpret_cast<SetFilterToolsFn>(dlsym(library, QUIB_SET_FILTER_TOOLS_NAME));
        if (!getCaps || !setTools) {
            dlclose(library);
            continue;
        }
        FilterCaps* records = nullptr;
        const int count = getCaps(&records);
        // Stops at the table's bound, so a wrong count never walks far past the plug-in's array.
        for (int i = 0; records && i < count && size() < kMaxFilterEntries; ++i) {
            const FilterCaps& caps = records[i];
            if (((uint32_t(caps.readCaps) | uint32_t(caps.writeCaps)) & mask) == 0)
                continue;
            if (addEntry(library, &caps))
                ++added;
        }
        setTools(tools);
    }
    return added;
}

const FilterCaps* FilterTable::findFilterForExtension(const std::string& extension) const {
    for (const Entry& e : m_entries)
        if (ExtensionListHas(e.caps->extensions, extension))
            return e.caps;
    return nullptr;
}

FilterTools* DefaultFilterTools() {
    static FilterTools tools{&std::malloc, &std::free, 0};
    return &tools;
}

bool ExtensionListHas(const char* extensionList, const std::string& extension) {
    if (!extensionList || !*extensionList)
        return false;
    std::string_view list(extensionList);
    while (true) {
        const size_t semicolon = list.find(';');
        if (equalsIgnoringCase(list.substr(0, semicolon), extension))
            return true;
        if (semicolon == std::string_view::npos)
            return false;
        list.remove_prefix(semicolon + 1);
    }
}

std::string PreferredExtension(const FilterCaps& caps) {
    if (!caps.extensions)
        return {};
    std::string_view list(caps.extensions);
    return lower(std::string(list.substr(0, list.find(';'))));
}

std::string DescriptionPatterns(const FilterCaps& caps) {
    if (!caps.description)
        return {};
    std::string_view text(caps.description);
    const size_t bar = text.find('|');
    return bar == std::string_view::npos ? std::string() : std::string(text.substr(bar + 1));
}

std::string FileExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        return {};
    return path.substr(dot + 1);
}

std::vector<std::string> DefaultFilterFolders(const std::string& executableDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    auto add = [&folders](const fs::path& folder) {
        const std::string text = folder.lexically_normal().string();
        if (std::find(folders.begin(), folders.end(), text) == folders.end())
            folders.push_back(text);
    };
    add(fs::path(QUIB_INSTALL_PREFIX) / QUIB_FILTERS_INSTALL_DIR);
    if (!executableDir.empty()) {
        const fs::path exe = fs::path(executableDir).lexically_normal();
        add(exe / "filters");
        // Programs run from the build tree find the plug-ins built beside them.
        const fs::path buildRoot = fs::path(QUIB_BUILD_ROOT).lexically_normal();
        const auto [rootEnd, exeIt] =
            std::mismatch(buildRoot.begin(), buildRoot.end(), exe.begin(), exe.end());
        if (rootEnd == buildRoot.end())
            add(QUIB_BUILD_FILTERS_DIR);
    }
    fs::path userData;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        userData = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home == '/')
        userData = fs::path(home) / ".local" / "share";
    if (!userData.empty())
        add(userData / "Corvander" / "Quib" / "filters");
    return folders;
}

int LoadDefaultFilters(FilterTable& table, const std::string& executableDir, FilterTools* tools) {
    int added = 0;
    bool first = true;
    for (const std::string& folder : DefaultFilterFolders(executableDir)) {
        added += table.loadFilters(folder, tools, QUIB_FILTER_CAP_BASIC, first);
        first = false;
    }
    return added;
}

}  // namespace quib

#pragma once

#include <filesystem>
#include <string>

namespace quib::player {

// File names travel as UTF-8 on Windows and as the system's bytes elsewhere.
inline std::filesystem::path nativePath(const std::string& name) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    return std::filesystem::path(name);
#endif
}

}  // namespace quib::player

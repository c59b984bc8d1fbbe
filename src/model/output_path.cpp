#include "output_path.h"

#include <algorithm>

namespace quib {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string withSeparator(std::string s, char separator) {
    std::replace_if(s.begin(), s.end(), isSeparator, separator);
    return s;
}

bool startsWithUp(const std::string& s) {
    return s.size() >= 3 && s[0] == '.' && s[1] == '.' && isSeparator(s[2]);
}

}  // namespace

std::string projectDirOf(const std::string& filePath) {
    const size_t slash = filePath.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : filePath.substr(0, slash + 1);
}

std::string relativeOutputName(const std::string& projectDir, const std::string& outputFileName) {
    const std::string p = withSeparator(projectDir, '/');
    const std::string f = withSeparator(outputFileName, '/');
    // The longest common folder, separator included (case matters: file names here are
    // case-sensitive, and "abc" must not pass for the folder "ab").
    int i = int(std::min(p.size(), f.size())) - 1;
    while (i >= 0) {
        while (i >= 0 && p[size_t(i)] != '/')
            --i;
        if (i < 0)
            break;
        if (p.compare(0, size_t(i) + 1, f, 0, size_t(i) + 1) == 0)
            break;
        --i;
    }
    if (i < 0)
        return withSeparator(f, '\\');
    const size_t ups = size_t(std::count(p.begin() + i + 1, p.end(), '/'));
    std::string stored;
    for (size_t k = 0; k < ups; ++k)
        stored += "..\\";
    return stored + withSeparator(f.substr(size_t(i) + 1), '\\');
}

std::string absoluteOutputName(const std::string& projectDir, const std::string& storedName) {
    std::string name = withSeparator(storedName, '/');
    if (name.empty() || name[0] == '/' || (name.size() > 1 && name[1] == ':'))
        return name;
    std::string folder = withSeparator(projectDir, '/');
    const bool rooted = !folder.empty() && folder[0] == '/';
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    while (startsWithUp(name)) {
        name.erase(0, 3);
        const size_t slash = folder.find_last_of('/');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    }
    if (folder.empty())
        return rooted ? "/" + name : name;
    return folder + "/" + name;
}

std::string outputBesideProject(const std::string& projectPath, std::string_view extension) {
    const size_t slash = projectPath.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (nameStart >= projectPath.size())
        return {};
    size_t nameEnd = projectPath.find_last_of('.');
    if (nameEnd == std::string::npos || nameEnd <= nameStart)
        nameEnd = projectPath.size();
    return projectPath.substr(0, nameEnd) + (extension.empty() ? "" : "." + std::string(extension));
}

}  // namespace quib

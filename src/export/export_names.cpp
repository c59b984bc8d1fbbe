#include "export/export_names.h"

namespace quib {

namespace {

// Position of the '.' that starts the file name's extension, or npos.
size_t extensionDot(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return std::string::npos;
    return dot;
}

}  // namespace

std::string exportFileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    return extensionDot(path) == std::string::npos ? path + extension : path;
}

std::string withoutExtension(const std::string& path) {
    const size_t dot = extensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

}  // namespace quib

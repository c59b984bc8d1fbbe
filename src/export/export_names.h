#pragma once

#include "base/html_escape.h"

#include <string>

namespace quib {

// The file name part of a path: the text after its last '/'.
std::string exportFileName(const std::string& path);

// The path with extension (".htm", ".pdf") appended when its file name holds no '.'.
// Only the file name is looked at: a '.' in a folder name is not an extension.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

// The path cut before the last '.' of its file name (the whole path when the name has none).
std::string withoutExtension(const std::string& path);

}  // namespace quib

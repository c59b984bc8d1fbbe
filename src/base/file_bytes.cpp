#include "base/file_bytes.h"

#include <fstream>
#include <iterator>

namespace quib {

FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return FileRead::CannotOpen;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.bad() ? FileRead::ReadFailed : FileRead::Ok;
}

}  // namespace quib

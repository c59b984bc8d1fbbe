#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quib {

enum class FileRead { Ok, CannotOpen, ReadFailed };

// Reads a whole file; on failure bytes holds what was read, and errno tells why.
FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace quib

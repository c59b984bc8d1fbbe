#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quib {

enum class FileRead { Ok, CannotOpen, ReadFailed, NotRegular, TooLarge };

// Reads a whole regular file of at most maxBytes; devices, pipes and folders are refused, so a
// reader never waits on input that does not end. On failure bytes is empty, and errno tells why
// when the file could not be opened.
FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes = UINT32_MAX);

}  // namespace quib

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quib {

enum class FileRead { Ok, CannotOpen, ReadFailed, NotRegular, TooLarge };

// Reads a whole regular file of at most maxBytes; devices, pipes and folders are refused, so a
// reader never waits on input that does not end. On failure bytes is empty, and errno tells why
// when the file could not be opened.
FileRead readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes = UINT32_MAX);

// The two steps of readFileBytes for readers that keep the bytes elsewhere: opening with the
// same checks (fd is the caller's to close on success) and reading size bytes.
FileRead openWholeFile(const std::string& path, uint64_t maxBytes, int& fd, size_t& size);
bool readWholeFile(int fd, uint8_t* out, size_t size);

}  // namespace quib

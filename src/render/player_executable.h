#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

namespace quib {

// The player program that self-running movies are built on: beside the running program, then in
// the build tree, then in the installation's program folder. Empty when none is found.
std::string findPlayerExecutable();

// The bytes of the player at path (found with findPlayerExecutable when empty).
Status readPlayerExecutable(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace quib

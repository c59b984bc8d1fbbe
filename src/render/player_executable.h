#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "model/output_type.h"

namespace quib {

// The projector a self-running output is built on: "quib-projector.exe" for Windows,
// "quib-projector" for Linux; nothing for other types.
std::string projectorFileName(OutputType type);

// The projector of type in the data folder's "projectors": beside the running program
// (../share/quib), then in the build tree, then in the installation. Empty when none is found.
std::string findProjector(OutputType type);

// The bytes of the projector at path (found with findProjector when empty).
Status readProjector(OutputType type, const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace quib

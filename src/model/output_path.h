#pragma once

#include <string>
#include <string_view>

namespace quib {

// The folder of a file path with its trailing separator, or empty when the path has no folder.
std::string projectDirOf(const std::string& filePath);

// The output name as a project file stores it: relative to projectDir where the two share a
// folder, with '\' separators. Both separators are accepted in the inputs.
std::string relativeOutputName(const std::string& projectDir, const std::string& outputFileName);

// A stored output name made absolute against projectDir, with native separators.
std::string absoluteOutputName(const std::string& projectDir, const std::string& storedName);

// The output a project proposes before one is chosen: beside the project file, with its name and
// extension (no dot); empty for a project never saved.
std::string outputBesideProject(const std::string& projectPath, std::string_view extension);

}  // namespace quib

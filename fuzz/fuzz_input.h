// Shared by the fuzz targets: readers that take a path read the input from a file.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quib::fuzz {

// Writes the input to a file with the given extension in this process's own folder.
inline std::string inputFile(const uint8_t* data, size_t size, const std::string& extension) {
    static const std::string folder = [] {
        std::string pattern = "/tmp/quib-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    const std::string path = folder + "/input" + extension;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    return path;
}

}  // namespace quib::fuzz

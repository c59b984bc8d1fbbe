#include "appended_movie.h"

#include <fstream>

#include "native_path.h"

namespace quib::player {

namespace {
constexpr uint64_t TrailerSize = 8;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool readAt(std::ifstream& file, uint64_t offset, uint8_t* out, uint64_t size) {
    file.clear();
    file.seekg(std::streamoff(offset));
    file.read(reinterpret_cast<char*>(out), std::streamsize(size));
    return file && uint64_t(file.gcount()) == size;
}
}  // namespace

AppendedMovieResult readAppendedMovie(const std::string& path) {
    AppendedMovieResult result;
    std::ifstream file(nativePath(path), std::ios::binary);
    if (!file) {
        result.error = "Impossibile aprire il file " + path;
        return result;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < std::streamoff(TrailerSize))
        return result;
    const uint64_t size = uint64_t(end);
    uint8_t trailer[TrailerSize];
    if (!readAt(file, size - TrailerSize, trailer, TrailerSize)) {
        result.error = "Impossibile leggere il file " + path;
        return result;
    }
    if (le32(trailer) != AppendedMovieMagic)
        return result;
    result.found = true;
    const uint64_t length = le32(trailer + 4);
    if (length > size - TrailerSize) {
        result.error = "Il filmato accodato a " + path + " dichiara " + std::to_string(length) +
                       " byte, il file ne ha solo " + std::to_string(size - TrailerSize);
        return result;
    }
    try {
        result.movie.resize(size_t(length));
    } catch (const std::bad_alloc&) {
        result.error = "Memoria insufficiente per il filmato accodato a " + path;
        return result;
    }
    if (!readAt(file, size - TrailerSize - length, result.movie.data(), length)) {
        result.movie.clear();
        result.error = "Impossibile leggere il filmato accodato a " + path;
    }
    return result;
}

}  // namespace quib::player

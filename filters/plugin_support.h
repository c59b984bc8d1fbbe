// Shared by the image filter plug-ins: the handles and entry points every plug-in exposes in the
// same way, over three codec functions each plug-in defines.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "imagefilters/filter_abi.h"

#define QUIB_FILTER_EXPORT extern "C" __attribute__((visibility("default")))

namespace quib_filter {

// Pictures larger than this are refused before anything is allocated for them.
inline constexpr int64_t kMaxSide = 32767;
inline constexpr int64_t kMaxPixels = int64_t(1) << 28;

// Files larger than this are not pictures the program reads.
inline constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;

inline bool sizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

// A picture being read: its header is parsed and its size checked against the file's bytes;
// the pixels are decoded later, row by row, straight into the caller's buffer.
class Decoder {
public:
    virtual ~Decoder() = default;
    // Fills width x height pixels of blue, green, red, alpha, top row first. False on any damage,
    // including data that ends early.
    virtual bool decodeInto(uint8_t* bgra) = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Defined by each plug-in. Never throw, never crash. openDecoder gives nothing when the file is
// not a picture of the plug-in's type, its size is not acceptable, or its bytes cannot fill it.
std::unique_ptr<Decoder> openDecoder(const char* path);
bool encode(const char* path, const ImageDesc& desc);

// Opens a regular file for reading (devices and pipes never end); its size in size.
inline FILE* openRegularFile(const char* path, uint64_t& size) {
    // Non-blocking, so that opening a pipe does not wait for a writer before it is refused.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    size = uint64_t(info.st_size);
    return file;
}

inline bool readWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    uint64_t size = 0;
    FILE* file = openRegularFile(path, size);
    if (!file)
        return false;
    bool ok = size <= kMaxFileBytes;
    if (ok) {
        try {
            bytes.resize(size_t(size));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ok = ok && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return ok;
}

inline std::unique_ptr<Decoder> safeOpenDecoder(const char* path) {
    try {
        auto decoder = path ? openDecoder(path) : nullptr;
        if (decoder && sizeAcceptable(decoder->width, decoder->height))
            return decoder;
    } catch (...) {
    }
    return nullptr;
}

struct WriteHandle {
    std::string path;
};

inline FilterHandle openRead(const char* path, int* status) {
    Decoder* decoder = safeOpenDecoder(path).release();
    if (!decoder && status)
        *status = 0;
    return decoder;
}

inline int read(FilterHandle handle, ImageDesc* desc, intptr_t, intptr_t) {
    auto* decoder = static_cast<Decoder*>(handle);
    if (!decoder || !desc || !desc->pixels || desc->width != decoder->width ||
        desc->height != decoder->height)
        return 0;
    try {
        return decoder->decodeInto(static_cast<uint8_t*>(desc->pixels)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

inline void closeRead(FilterHandle handle) {
    delete static_cast<Decoder*>(handle);
}

inline int getInfo(const char* path, ImageDesc* desc, intptr_t, intptr_t) {
    if (!desc)
        return 0;
    const auto decoder = safeOpenDecoder(path);
    if (!decoder)
        return 0;
    desc->width = decoder->width;
    desc->height = decoder->height;
    return 1;
}

inline FilterHandle openWrite(const char* path, intptr_t, intptr_t, intptr_t, intptr_t, ImageDesc*, intptr_t,
                              intptr_t) {
    if (!path)
        return nullptr;
    return new (std::nothrow) WriteHandle{path};
}

inline int write(FilterHandle handle, ImageDesc* desc, intptr_t, intptr_t) {
    const auto* target = static_cast<const WriteHandle*>(handle);
    if (!target || !desc || !desc->pixels || !sizeAcceptable(desc->width, desc->height))
        return 0;
    try {
        return encode(target->path.c_str(), *desc) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

inline void closeWrite(FilterHandle handle) {
    delete static_cast<WriteHandle*>(handle);
}

inline FilterCaps makeCaps(const char* extensions, const char* description, bool canRead, bool canWrite) {
    FilterCaps caps{};
    caps.extensions = extensions;
    caps.description = description;
    caps.readCaps = canRead ? QUIB_FILTER_CAP_BASIC : 0;
    caps.writeCaps = canWrite ? QUIB_FILTER_CAP_BASIC : 0;
    caps.openRead = canRead ? &openRead : nullptr;
    caps.read = canRead ? &read : nullptr;
    caps.closeRead = canRead ? &closeRead : nullptr;
    caps.getInfo = canRead ? &getInfo : nullptr;
    caps.openWrite = canWrite ? &openWrite : nullptr;
    caps.write = canWrite ? &write : nullptr;
    caps.closeWrite = canWrite ? &closeWrite : nullptr;
    return caps;
}

}  // namespace quib_filter

// Defines the two exports for a plug-in offering one image type.
#define QUIB_DEFINE_FILTER(extensions, description, canRead, canWrite)                          \
    namespace {                                                                                 \
    FilterCaps g_caps[1] = {quib_filter::makeCaps(extensions, description, canRead, canWrite)}; \
    FilterTools* g_tools = nullptr;                                                             \
    }                                                                                           \
    QUIB_FILTER_EXPORT int GetFilterCaps(FilterCaps** caps) {                                   \
        *caps = g_caps;                                                                         \
        return 1;                                                                               \
    }                                                                                           \
    QUIB_FILTER_EXPORT int SetFilterTools(FilterTools* tools) {                                 \
        g_tools = tools;                                                                        \
        return 1;                                                                               \
    }

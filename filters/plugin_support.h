// Shared by the image filter plug-ins: the handles and entry points every plug-in exposes in the
// same way, over three codec functions each plug-in defines.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "imagefilters/filter_abi.h"

#define QUIB_FILTER_EXPORT extern "C" __attribute__((visibility("default")))

namespace quib_filter {

// Pictures larger than this are refused before anything is allocated for them.
inline constexpr int64_t kMaxSide = 32767;
inline constexpr int64_t kMaxPixels = int64_t(1) << 28;

inline bool sizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bgra;  // top row first, 4 bytes a pixel
};

// Defined by each plug-in. All return false on any failure, never throw, never crash.
bool readSize(const char* path, int32_t& width, int32_t& height);
bool decode(const char* path, Picture& picture);
bool encode(const char* path, const ImageDesc& desc);

inline bool readWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
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

struct WriteHandle {
    std::string path;
};

inline FilterHandle openRead(const char* path, int* status) {
    auto* picture = new (std::nothrow) Picture;
    if (!picture)
        return nullptr;
    bool ok = false;
    try {
        ok = path && decode(path, *picture);
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        delete picture;
        if (status)
            *status = 0;
        return nullptr;
    }
    return picture;
}

inline int read(FilterHandle handle, ImageDesc* desc, intptr_t, intptr_t) {
    const auto* picture = static_cast<const Picture*>(handle);
    if (!picture || !desc || !desc->pixels || desc->width != picture->width ||
        desc->height != picture->height)
        return 0;
    std::memcpy(desc->pixels, picture->bgra.data(), picture->bgra.size());
    return 1;
}

inline void closeRead(FilterHandle handle) {
    delete static_cast<Picture*>(handle);
}

inline int getInfo(const char* path, ImageDesc* desc, intptr_t, intptr_t) {
    int32_t width = 0, height = 0;
    try {
        if (!path || !desc || !readSize(path, width, height) || !sizeAcceptable(width, height))
            return 0;
    } catch (...) {
        return 0;
    }
    desc->width = width;
    desc->height = height;
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

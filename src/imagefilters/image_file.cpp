#include "imagefilters/image_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/atomic_file.h"

namespace quib {

namespace {

// Larger pictures are refused before allocating: no picture the program handles comes near.
constexpr int64_t kMaxSide = 32767;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

std::string lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::optional<Bitmap32> LoadImageFile(const FilterTable& table, const std::string& path) {
    if (path.find('"') != std::string::npos)
        return std::nullopt;
    const FilterCaps* caps = table.findFilterForExtension(lower(FileExtension(path)));
    if (!caps || !caps->getInfo || !caps->openRead || !caps->read || !caps->closeRead)
        return std::nullopt;

    ImageDesc info{0, 0, nullptr};
    if (caps->getInfo(path.c_str(), &info, 0, 0) != 1)
        return std::nullopt;
    if (info.width <= 0 || info.height <= 0 || info.width > kMaxSide || info.height > kMaxSide ||
        int64_t(info.width) * info.height > kMaxPixels || !pictureBytes(info.width, info.height, 4))
        return std::nullopt;
    // The plug-in checks the file first; the picture is its one buffer and the pixels are
    // decoded straight into it.
    int status = 1;
    FilterHandle handle = caps->openRead(path.c_str(), &status);
    if (!handle)
        return std::nullopt;
    Bitmap32 picture;
    int result = 0;
    if (status == 1) {
        try {
            picture = Bitmap32(info.width, info.height);
            ImageDesc desc{picture.width, picture.height, picture.pixels.data()};
            result = caps->read(handle, &desc, 0, 0);
        } catch (const std::bad_alloc&) {
            result = 0;
        }
    }
    caps->closeRead(handle);
    if (result != 1)
        return std::nullopt;
    return picture;
}

std::optional<Bitmap24> LoadImageFile24(const FilterTable& table, const std::string& path) {
    auto picture = LoadImageFile(table, path);
    if (!picture)
        return std::nullopt;
    // In place: each 3-byte pixel moves to an offset at or before its 4-byte one.
    const size_t count = size_t(picture->width) * size_t(picture->height);
    uint8_t* pixels = picture->pixels.data();
    for (size_t i = 0; i < count; ++i)
        std::memmove(pixels + i * 3, pixels + i * 4, 3);
    Bitmap24 out;
    out.width = picture->width;
    out.height = picture->height;
    out.pixels = std::move(picture->pixels);
    out.pixels.resize(count * 3);
    return out;
}

std::function<std::optional<Bitmap24>(const std::string& path)> PictureFileReader(const FilterTable& table) {
    return [&table](const std::string& path) { return LoadImageFile24(table, path); };
}

bool SaveImageFile(const FilterTable& table, const std::string& path, const Bitmap32& picture,
                   const FilterCaps* caps) {
    if (!caps)
        caps = table.findFilterForExtension(lower(FileExtension(path)));
    if (!caps || (caps->writeCaps & QUIB_FILTER_CAP_BASIC) == 0 || !caps->openWrite || !caps->write ||
        !caps->closeWrite)
        return false;
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != size_t(picture.width) * size_t(picture.height) * 4)
        return false;
    // The plug-in writes the temporary file by its name, which keeps the extension (some plug-ins
    // look at it); only a complete file replaces the target.
    const std::string extension = FileExtension(path);
    AtomicFile file;
    if (!file.open(path, extension.empty() ? std::string() : "." + extension))
        return false;
    ImageDesc desc{picture.width, picture.height, const_cast<uint8_t*>(picture.pixels.data())};
    bool ok = false;
    if (FilterHandle handle = caps->openWrite(file.temporaryPath().c_str(), 0, 0, 0, 0, &desc, 0, 0)) {
        ok = caps->write(handle, &desc, 0, 0) == 1;
        caps->closeWrite(handle);
    }
    return ok && file.commitWrittenFile();
}

bool SaveImageFile(const FilterTable& table, const std::string& path, const Bitmap24& picture,
                   const FilterCaps* caps) {
    return SaveImageFile(table, path, AddOpaqueAlpha(picture), caps);
}

Bitmap24 DropAlpha(const Bitmap32& picture) {
    Bitmap24 out(picture.width, picture.height);
    const size_t count = size_t(picture.width) * size_t(picture.height);
    for (size_t i = 0; i < count; ++i)
        std::copy_n(&picture.pixels[i * 4], 3, &out.pixels[i * 3]);
    return out;
}

Bitmap32 AddOpaqueAlpha(const Bitmap24& picture) {
    Bitmap32 out(picture.width, picture.height);
    const size_t count = size_t(picture.width) * size_t(picture.height);
    for (size_t i = 0; i < count; ++i) {
        std::copy_n(&picture.pixels[i * 3], 3, &out.pixels[i * 4]);
        out.pixels[i * 4 + 3] = 255;
    }
    return out;
}

}  // namespace quib

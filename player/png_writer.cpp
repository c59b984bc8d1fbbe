#include "png_writer.h"

#include <zlib.h>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#include <system_error>

#include "native_path.h"
#else
#include "base/atomic_file.h"
#endif

namespace quib::player {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

}  // namespace

std::vector<uint8_t> encodePng(const Picture& picture) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(picture.height) * (size_t(picture.width) * 3 + 1));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);  // no filter
        const Pixel* row = picture.row(y);
        for (int x = 0; x < picture.width; ++x) {
            raw.push_back(uint8_t(pixelRed(row[x])));
            raw.push_back(uint8_t(pixelGreen(row[x])));
            raw.push_back(uint8_t(pixelBlue(row[x])));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32(header, uint32_t(picture.width));
    put32(header, uint32_t(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out;
}

bool savePng(const Picture& picture, const std::string& path) {
    const std::vector<uint8_t> bytes = encodePng(picture);
    if (bytes.empty())
        return false;
#ifdef _WIN32
    // Written beside the target and renamed over it, so that a failed write leaves the old file.
    const std::filesystem::path target = nativePath(path);
    std::filesystem::path temporary = target;
    temporary += ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
        std::filesystem::remove(temporary, error);
    return !error;
#else
    AtomicFile file;
    return file.open(path, ".png") && file.commit(bytes);
#endif
}

}  // namespace quib::player

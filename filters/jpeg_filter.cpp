// JPEG through libjpeg. Its errors arrive through a long jump back into the function that set
// it up, so those functions keep every C++ object in their callers.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "plugin_support.h"

namespace quib_filter {

namespace {

constexpr int kQuality = 90;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void onMessage(j_common_ptr) {}

// Reads the header, then the pixels when picture is given. Returns false on any error.
bool readJpeg(FILE* file, int32_t& width, int32_t& height, Picture* picture, std::vector<uint8_t>& row) {
    jpeg_decompress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = onError;
    error.base.output_message = onMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    width = int32_t(info.image_width);
    height = int32_t(info.image_height);
    if (!sizeAcceptable(width, height) ||
        (picture && (width != picture->width || height != picture->height))) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (picture) {
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        if (info.output_components != 3 || int32_t(info.output_width) != width ||
            int32_t(info.output_height) != height) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        while (info.output_scanline < info.output_height) {
            const size_t y = info.output_scanline;
            JSAMPROW rows[1] = {row.data()};
            jpeg_read_scanlines(&info, rows, 1);
            uint8_t* out = &picture->bgra[y * size_t(width) * 4];
            for (int32_t x = 0; x < width; ++x, out += 4) {
                out[0] = row[size_t(x) * 3 + 2], out[1] = row[size_t(x) * 3 + 1], out[2] = row[size_t(x) * 3];
                out[3] = 255;
            }
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return true;
}

bool writeJpeg(FILE* file, const ImageDesc& desc, std::vector<uint8_t>& row) {
    jpeg_compress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = onError;
    error.base.output_message = onMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(desc.width);
    info.image_height = JDIMENSION(desc.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const auto* pixels = static_cast<const uint8_t*>(desc.pixels);
    while (info.next_scanline < info.image_height) {
        const uint8_t* in = pixels + size_t(info.next_scanline) * size_t(desc.width) * 4;
        for (int32_t x = 0; x < desc.width; ++x, in += 4) {
            row[size_t(x) * 3] = in[2], row[size_t(x) * 3 + 1] = in[1], row[size_t(x) * 3 + 2] = in[0];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool readSize(const char* path, int32_t& width, int32_t& height) {
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    std::vector<uint8_t> row;
    const bool ok = readJpeg(file, width, height, nullptr, row);
    std::fclose(file);
    return ok;
}

bool decode(const char* path, Picture& picture) {
    int32_t width = 0, height = 0;
    if (!readSize(path, width, height))
        return false;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    picture.width = width;
    picture.height = height;
    picture.bgra.assign(size_t(width) * size_t(height) * 4, 0);
    std::vector<uint8_t> row(size_t(width) * 3);
    int32_t checkWidth = 0, checkHeight = 0;
    const bool ok = readJpeg(file, checkWidth, checkHeight, &picture, row);
    std::fclose(file);
    return ok && checkWidth == width && checkHeight == height;
}

bool encode(const char* path, const ImageDesc& desc) {
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    std::vector<uint8_t> row(size_t(desc.width) * 3);
    bool ok = writeJpeg(file, desc, row);
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace quib_filter

QUIB_DEFINE_FILTER("jpg;jpeg;jpe", "JPEG (*.jpg)|*.jpg;*.jpeg;*.jpe", true, true)

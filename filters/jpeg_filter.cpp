// JPEG through libjpeg. Its errors arrive through a long jump back into the function that set
// it up, so those functions keep every C++ object in their callers.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h: its version decides which messages exist.
#include <jerror.h>

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

// Warnings that mean pixels were lost fail the read: a damaged picture is not imported grey.
void onEmit(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION:
            onError(info);
            break;
        default:
            break;
    }
}

// Every block of a Huffman-coded scan takes at least a bit, and a block of the finest component
// covers at most 256 pixels; arithmetic coding can go further, but not without bound.
constexpr uint64_t kMaxPixelsPerByte = 2048;
constexpr uint64_t kMaxArithmeticPixelsPerByte = uint64_t(1) << 16;

void setUp(jpeg_decompress_struct& info, ErrorManager& error) {
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = onError;
    error.base.output_message = onMessage;
    error.base.emit_message = onEmit;
}

// Reads the header from bytes, then, when bgra is given, the pixels into it row by row. Returns
// false on any error.
bool readJpeg(const std::vector<uint8_t>& bytes, int32_t& width, int32_t& height, uint8_t* bgra,
              std::vector<uint8_t>& row) {
    jpeg_decompress_struct info;
    ErrorManager error;
    setUp(info, error);
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const uint64_t pixels = uint64_t(info.image_width) * info.image_height;
    const uint64_t ratio = info.arith_code ? kMaxArithmeticPixelsPerByte : kMaxPixelsPerByte;
    if (!sizeAcceptable(info.image_width, info.image_height) || pixels > bytes.size() * ratio ||
        (bgra && (int32_t(info.image_width) != width || int32_t(info.image_height) != height))) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    width = int32_t(info.image_width);
    height = int32_t(info.image_height);
    if (bgra) {
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        if (info.output_components != 3 || int32_t(info.output_width) != width ||
            int32_t(info.output_height) != height) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        row.resize(size_t(width) * 3);
        while (info.output_scanline < info.output_height) {
            const size_t y = info.output_scanline;
            JSAMPROW rows[1] = {row.data()};
            if (jpeg_read_scanlines(&info, rows, 1) != 1) {
                jpeg_destroy_decompress(&info);
                return false;
            }
            uint8_t* out = bgra + y * size_t(width) * 4;
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

class JpegDecoder : public Decoder {
public:
    bool open(const char* path) {
        return readWholeFile(path, m_bytes) && readJpeg(m_bytes, width, height, nullptr, m_row);
    }
    bool decodeInto(uint8_t* bgra) override { return readJpeg(m_bytes, width, height, bgra, m_row); }

private:
    std::vector<uint8_t> m_bytes;
    std::vector<uint8_t> m_row;
};

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

std::unique_ptr<Decoder> openDecoder(const char* path) {
    auto decoder = std::make_unique<JpegDecoder>();
    if (!decoder->open(path))
        return nullptr;
    return decoder;
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

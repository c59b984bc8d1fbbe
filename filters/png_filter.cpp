// PNG through libpng's simplified interface, which checks the stream and reports errors itself.
#include <png.h>

#include <cstdio>
#include <vector>

#include "plugin_support.h"

namespace quib_filter {

namespace {

// deflate inflates at most about 1032 to 1, and every row holds a filter byte and at least one
// bit a pixel: a size beyond that is not in the file.
constexpr uint64_t kMaxInflateRatio = 1040;

class PngDecoder : public Decoder {
public:
    ~PngDecoder() override {
        png_image_free(&m_image);
        if (m_file)
            std::fclose(m_file);
    }

    bool open(const char* path) {
        uint64_t fileSize = 0;
        m_file = openRegularFile(path, fileSize);
        m_image.version = PNG_IMAGE_VERSION;
        if (!m_file || !png_image_begin_read_from_stdio(&m_image, m_file))
            return false;
        if (!sizeAcceptable(m_image.width, m_image.height))
            return false;
        const uint64_t leastRawBytes = uint64_t(m_image.height) * (1 + (uint64_t(m_image.width) + 7) / 8);
        if (leastRawBytes > fileSize * kMaxInflateRatio)
            return false;
        width = int32_t(m_image.width);
        height = int32_t(m_image.height);
        return true;
    }

    bool decodeInto(uint8_t* bgra) override {
        m_image.format = PNG_FORMAT_BGRA;
        // Finishing frees the image's resources whether or not it succeeds.
        return png_image_finish_read(&m_image, nullptr, bgra, 0, nullptr) != 0;
    }

private:
    png_image m_image{};
    FILE* m_file = nullptr;
};

}  // namespace

std::unique_ptr<Decoder> openDecoder(const char* path) {
    auto decoder = std::make_unique<PngDecoder>();
    if (!decoder->open(path))
        return nullptr;
    return decoder;
}

// libpng reports errors by a long jump back here; nothing in this frame needs destroying.
bool writeRows(png_structp png, png_infop info, FILE* file, const ImageDesc& desc, bool opaque,
               std::vector<uint8_t>& row) {
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    const size_t width = size_t(desc.width), height = size_t(desc.height);
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Screen pictures are flat areas and repeated glyphs, which deflate finds as they are; the
    // row filters cost time and make them larger.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* in = static_cast<const uint8_t*>(desc.pixels) + y * width * 4;
        uint8_t* out = row.data();
        for (size_t x = 0; x < width; ++x, in += 4) {
            *out++ = in[2];
            *out++ = in[1];
            *out++ = in[0];
            if (!opaque)
                *out++ = in[3];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

bool encode(const char* path, const ImageDesc& desc) {
    const size_t count = size_t(desc.width) * size_t(desc.height);
    const auto* bgra = static_cast<const uint8_t*>(desc.pixels);
    // An opaque picture (every frame of a screen) is written without its alpha channel: a quarter
    // less to compress and to store, and the same pixels when read.
    bool opaque = true;
    for (size_t i = 0; i < count && opaque; ++i)
        opaque = bgra[i * 4 + 3] == 255;
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> row(size_t(desc.width) * 4);
    const bool ok = info && writeRows(png, info, file, desc, opaque, row);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

}  // namespace quib_filter

QUIB_DEFINE_FILTER("png", "Portable Network Graphics (*.png)|*.png", true, true)

// PNG through libpng's simplified interface, which checks the stream and reports errors itself.
#include <png.h>

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

bool encode(const char* path, const ImageDesc& desc) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(desc.width);
    image.height = uint32_t(desc.height);
    image.format = PNG_FORMAT_BGRA;
    const bool ok = png_image_write_to_file(&image, path, 0, desc.pixels, 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

}  // namespace quib_filter

QUIB_DEFINE_FILTER("png", "Portable Network Graphics (*.png)|*.png", true, true)

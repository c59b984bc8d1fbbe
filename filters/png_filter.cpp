// PNG through libpng's simplified interface, which checks the stream and reports errors itself.
#include <png.h>

#include "plugin_support.h"

namespace quib_filter {

bool readSize(const char* path, int32_t& width, int32_t& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
        return false;
    width = int32_t(image.width);
    height = int32_t(image.height);
    const bool ok = image.width <= uint32_t(kMaxSide) && image.height <= uint32_t(kMaxSide);
    png_image_free(&image);
    return ok;
}

bool decode(const char* path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
        return false;
    if (!sizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    picture.width = int32_t(image.width);
    picture.height = int32_t(image.height);
    picture.bgra.resize(PNG_IMAGE_SIZE(image));
    // Finishing frees the image's resources whether or not it succeeds.
    return png_image_finish_read(&image, nullptr, picture.bgra.data(), 0, nullptr) != 0;
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

#pragma once

#include <cstdint>
#include <vector>

namespace quib {

// Lossless picture files for outputs that browsers show.
enum class PictureFormat { WebP, Png };

// Encodes width x height pixels, rows of stride bytes: blue, green, red (alpha false) or blue, green,
// red, alpha. Colours under transparent pixels are kept. Empty on failure.
std::vector<uint8_t> encodePicture(PictureFormat format, const uint8_t* pixels, int width, int height,
                                   int stride, bool alpha);

inline const char* pictureExtension(PictureFormat format) {
    return format == PictureFormat::Png ? "png" : "webp";
}

}  // namespace quib

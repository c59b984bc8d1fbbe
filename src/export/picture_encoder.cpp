#include "export/picture_encoder.h"

#include <webp/encode.h>

#include <QBuffer>
#include <QImage>

namespace quib {

namespace {

// Effort 4 of 9: screen pictures come out within a few per cent of the smallest the encoder can
// make, at a fraction of its slowest setting.
constexpr int kWebpEffort = 4;

std::vector<uint8_t> encodeWebp(const uint8_t* pixels, int width, int height, int stride, bool alpha) {
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, kWebpEffort) ||
        !WebPPictureInit(&picture))
        return {};
    config.exact = 1;
    picture.use_argb = 1;
    picture.width = width;
    picture.height = height;
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    const bool imported = alpha ? WebPPictureImportBGRA(&picture, pixels, stride)
                                : WebPPictureImportBGR(&picture, pixels, stride);
    std::vector<uint8_t> bytes;
    if (imported && WebPEncode(&config, &picture))
        bytes.assign(writer.mem, writer.mem + writer.size);
    WebPPictureFree(&picture);
    WebPMemoryWriterClear(&writer);
    return bytes;
}

std::vector<uint8_t> encodePng(const uint8_t* pixels, int width, int height, int stride, bool alpha) {
    const QImage image(pixels, width, height, stride, alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return std::vector<uint8_t>(data.begin(), data.end());
}

}  // namespace

std::vector<uint8_t> encodePicture(PictureFormat format, const uint8_t* pixels, int width, int height,
                                   int stride, bool alpha) {
    if (!pixels || width <= 0 || height <= 0)
        return {};
    return format == PictureFormat::Png ? encodePng(pixels, width, height, stride, alpha)
                                        : encodeWebp(pixels, width, height, stride, alpha);
}

}  // namespace quib

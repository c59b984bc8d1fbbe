// GIF (read only) through giflib: the first image of the file on its logical screen. Records are
// walked one by one so that an image's size is checked before any line of it is allocated.
#include <gif_lib.h>
#include <unistd.h>

#include "plugin_support.h"

namespace quib_filter {

namespace {

// An LZW code stands for at most 4096 pixels and takes 12 bits by the time its strings are that
// long: a screen of more pixels than this for each byte of the file is not in the file.
constexpr uint64_t kMaxPixelsPerByte = 4096;

class GifDecoder : public Decoder {
public:
    ~GifDecoder() override {
        int error = 0;
        if (m_gif)
            DGifCloseFile(m_gif, &error);
    }

    bool open(const char* path) {
        uint64_t fileSize = 0;
        FILE* file = openRegularFile(path, fileSize);
        if (!file)
            return false;
        const int fd = dup(fileno(file));
        std::fclose(file);
        if (fd < 0)
            return false;
        int error = 0;
        m_gif = DGifOpenFileHandle(fd, &error);  // owns fd from here, even on failure
        if (!m_gif)
            return false;
        width = m_gif->SWidth;
        height = m_gif->SHeight;
        return sizeAcceptable(width, height) &&
               uint64_t(width) * uint64_t(height) <= fileSize * kMaxPixelsPerByte;
    }

    bool decodeInto(uint8_t* bgra) override;

private:
    GifFileType* m_gif = nullptr;
};

bool GifDecoder::decodeInto(uint8_t* bgra) {
    GifFileType* gif = m_gif;
    int transparent = -1;
    while (true) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return false;
        if (type == TERMINATE_RECORD_TYPE)
            return false;  // no image at all
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return false;
            while (block) {
                if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
                    GraphicsControlBlock control;
                    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                        transparent = control.TransparentColor;
                }
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return false;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return false;
        const GifImageDesc& image = gif->Image;
        const ColorMapObject* colours = image.ColorMap ? image.ColorMap : gif->SColorMap;
        if (!colours || image.Width <= 0 || image.Height <= 0 || image.Left < 0 || image.Top < 0 ||
            int64_t(image.Left) + image.Width > width || int64_t(image.Top) + image.Height > height)
            return false;
        // The screen outside the first image, and its transparent pixels, stay fully transparent.
        std::memset(bgra, 0, size_t(width) * size_t(height) * 4);
        std::vector<GifPixelType> line(size_t(image.Width));
        auto storeLine = [&](int row) {
            uint8_t* out = bgra + (size_t(image.Top + row) * size_t(width) + size_t(image.Left)) * 4;
            for (int x = 0; x < image.Width; ++x, out += 4) {
                const int index = line[size_t(x)];
                if (index == transparent || index >= colours->ColorCount)
                    continue;
                const GifColorType& c = colours->Colors[index];
                out[0] = c.Blue, out[1] = c.Green, out[2] = c.Red, out[3] = 255;
            }
        };
        if (image.Interlace) {
            static constexpr int kStart[4] = {0, 4, 2, 1};
            static constexpr int kStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = kStart[pass]; row < image.Height; row += kStep[pass]) {
                    if (DGifGetLine(gif, line.data(), image.Width) == GIF_ERROR)
                        return false;
                    storeLine(row);
                }
        } else {
            for (int row = 0; row < image.Height; ++row) {
                if (DGifGetLine(gif, line.data(), image.Width) == GIF_ERROR)
                    return false;
                storeLine(row);
            }
        }
        return true;
    }
}

}  // namespace

std::unique_ptr<Decoder> openDecoder(const char* path) {
    auto decoder = std::make_unique<GifDecoder>();
    if (!decoder->open(path))
        return nullptr;
    return decoder;
}

bool encode(const char*, const ImageDesc&) {
    return false;
}

}  // namespace quib_filter

QUIB_DEFINE_FILTER("gif", "CompuServe GIF (*.gif)|*.gif", true, false)

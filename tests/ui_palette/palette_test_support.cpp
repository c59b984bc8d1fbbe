#include "palette_test_support.h"

namespace quib::test {

Bitmap24 flatPicture(int w, int h, uint8_t red, uint8_t green, uint8_t blue) {
    Bitmap24 picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = blue, p[1] = green, p[2] = red;
        }
    return picture;
}

void buildProjectOf(CQuibDoc& doc, const std::vector<Bitmap24>& pictures) {
    if (pictures.empty())
        return;
    doc.SetEmptyProjectFrameSize(pictures.front().width, pictures.front().height);
    for (const Bitmap24& picture : pictures) {
        doc.currentImage = picture;
        doc.AppendCapturedFrame();
    }
    doc.SelectFrame(0, true);
    doc.SetModifiedFlag(false);
}

Palette paletteOf(std::initializer_list<PaletteEntry> entries) {
    Palette palette;
    for (const PaletteEntry& e : entries)
        palette.entries[size_t(palette.count++)] = PaletteEntry{e.red, e.green, e.blue, 255};
    return palette;
}

}  // namespace quib::test

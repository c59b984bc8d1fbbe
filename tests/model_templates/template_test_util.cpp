#include "template_test_util.h"

#include "model/synthetic_project.h"

namespace quib::test {
namespace {

// A picture whose every byte differs from its neighbours, starting at seed.
template <class Picture>
Picture patternPicture(int width, int height, uint8_t seed) {
    Picture picture(width, height);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = uint8_t(seed + i * 7);
    return picture;
}

void styleProject(CQuibDoc& doc, int frameCount, int variant) {
    buildSyntheticProject(doc, 40, 30, frameCount);
    const int v = variant;
    doc.backgroundSize = Size{60 + v, 50 + v};
    doc.backgroundImage = patternPicture<Bitmap24>(60 + v, 50 + v, uint8_t(3 + v));
    doc.frameOrigin = Point{5 + v, 7 + v};
    doc.titles.enabled = uint32_t(v % 2);
    doc.titles.font.logFont.setFace(v ? "Other Title" : "Title Face");
    doc.titles.font.color = rgb(uint8_t(10 + v), 20, 30);
    doc.titles.rect = Rect{1 + v, 2 + v, 31 + v, 12 + v};
    doc.settings.frameRate = uint32_t(8 + v);
    doc.settings.cursorSmoothness = uint32_t(25 + v);
    doc.settings.usePalette = uint32_t(v % 2);
    doc.buttonImages.images[ButtonImageSet::Previous] = patternPicture<Bitmap32>(6 + v, 4, uint8_t(1 + v));
    doc.buttonImages.images[ButtonImageSet::Next] = patternPicture<Bitmap32>(7 + v, 5, uint8_t(2 + v));
    doc.buttonImages.images[ButtonImageSet::Goto1] = patternPicture<Bitmap32>(3, 2 + v, uint8_t(9 + v));
    doc.buttonImages.images[ButtonImageSet::Goto2] = patternPicture<Bitmap32>(2, 3 + v, uint8_t(4 + v));
    for (int i = 0; i < doc.frameCount(); ++i) {
        Frame frame;
        doc.GetFrame(i, frame);
        const int k = 10 * i + v;
        frame.cursorPos = Point{k, k + 1};
        frame.textBox.rect = Rect{k, k, k + 20, k + 10};
        frame.textBox.calloutName = v ? "Other Callout" : "Rounded";
        frame.textBox.font.logFont.setFace(v ? "Other Text" : "Text Face");
        frame.textBox.font.align = uint32_t(v % 4);
        frame.nextButton.pos = Point{k + 2, k + 3};
        frame.prevButton.pos = Point{k + 4, k + 5};
        frame.gotoButtons[0].pos = Point{k + 6, k + 7};
        frame.gotoButtons[1].pos = Point{k + 8, k + 9};
        frame.title = "F" + std::to_string(i);
        doc.SetFrame(i, frame, false);
    }
    doc.SelectFrame(doc.frameCount() > 1 ? 1 : 0, true);
}

}  // namespace

void makeStyledProject(CQuibDoc& doc, int frameCount) {
    styleProject(doc, frameCount, 0);
}

void makeOtherProject(CQuibDoc& doc, int frameCount) {
    styleProject(doc, frameCount, 101);
}

std::vector<FrameElements> frameElementsOf(const CQuibDoc& doc) {
    std::vector<FrameElements> out(size_t(doc.frameCount()));
    for (int i = 0; i < doc.frameCount(); ++i)
        doc.GetFrame(i, out[size_t(i)]);
    return out;
}

}  // namespace quib::test

#include "render_test_helpers.h"

#include "model/default_buttons.h"

namespace rendertest {

using namespace quib;

Bitmap32 cursorPicture(int w, int h, uint32_t rgbColour) {
    Bitmap32 picture(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            if (x == 0) {
                p[0] = p[1] = p[2] = 1, p[3] = 0;
            } else {
                p[0] = blueOf(rgbColour), p[1] = greenOf(rgbColour), p[2] = redOf(rgbColour), p[3] = 255;
            }
        }
    }
    return picture;
}

TestProject::TestProject(int cx, int cy) {
    doc.InitNewProject();
    doc.SetEmptyProjectFrameSize(cx, cy);
    doc.settings.outputFileName = dir.path("movie.swf");
    doc.settings.outputType = OutputType::Movie;
}

void TestProject::addFrame(uint32_t rgbColour, const FrameElements& elements, const Bitmap32& cursor) {
    addFrame(solidImage(doc.frameSize, rgbColour), elements, cursor);
}

void TestProject::addFrame(const Bitmap24& picture, const FrameElements& elements, const Bitmap32& cursor) {
    doc.SelectFrame(doc.frameCount() - 1);
    doc.currentImage = picture;
    doc.currentFrame = Frame();
    doc.currentFrame.assignElements(elements);
    doc.currentFrame.setCursorImage(cursor);
    ASSERT_TRUE(doc.AppendCapturedFrame());
}

std::vector<uint8_t> TestProject::renderBytes(RenderStats* stats) {
    SwfMovie movie;
    NullProgress progress;
    RenderStats figures = BuildProjectMovie(doc, callouts, progress, movie);
    if (stats)
        *stats = figures;
    return swftest::writeMovie(movie);
}

std::vector<const swftest::Tag*> tagsOn(const swftest::Movie& movie, int n, int code) {
    std::vector<const swftest::Tag*> out;
    const auto frames = movie.frames();
    if (n < 0 || size_t(n) >= frames.size())
        return out;
    for (const swftest::Tag* tag : frames[size_t(n)]) {
        if (tag->code == code)
            out.push_back(tag);
    }
    return out;
}

std::vector<int> framesWith(const swftest::Movie& movie, int code) {
    std::vector<int> out;
    const auto frames = movie.frames();
    for (size_t n = 0; n < frames.size(); ++n) {
        for (const swftest::Tag* tag : frames[n]) {
            if (tag->code == code)
                out.push_back(int(n));
        }
    }
    return out;
}

std::vector<int> frameActions(const swftest::Movie& movie, int n) {
    std::vector<int> out;
    for (const swftest::Tag* tag : tagsOn(movie, n, 12)) {
        for (const swftest::Action& action : swftest::parseDoAction(*tag))
            out.push_back(action.code);
    }
    return out;
}

}  // namespace rendertest

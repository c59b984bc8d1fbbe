#include <gtest/gtest.h>

#include <cstring>

#include "export_test_util.h"
#include "model/frame_composer.h"
#include "model/frame_composition.h"
#include "model/quib_doc.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"

namespace quib {
namespace {

int changedPixels(const Bitmap24& picture, const Bitmap24& frame, const Rect& area) {
    int changed = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            changed += std::memcmp(picture.pixel(x, y), frame.pixel(x, y), 3) != 0;
    return changed;
}

class FrameComposerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raster::ensureGuiApplication(); }
    void SetUp() override {
        library = defaultCalloutLibrary();
        ASSERT_FALSE(library.empty());
        setApplicationCalloutLibrary(&library);
        test::makeProject(doc, 200, 150, 2);
    }
    void TearDown() override { setApplicationCalloutLibrary(nullptr); }

    CalloutLibrary library;
    CQuibDoc doc;
};

TEST_F(FrameComposerTest, TextBoxAndTitleAreComposedOntoTheFrameAndADamagedStreamIsReported) {
    static std::string calloutName;
    calloutName = library.at(0).name;
    test::editFrame(doc, 1, [](FrameElements& f) {
        f.textBox.visible = 1;
        f.textBox.rect = Rect{20, 60, 180, 130};
        f.textBox.calloutName = calloutName;
        f.textBox.text = "Fate clic qui";
        f.textBox.font.color = 0;
    });
    doc.titles.enabled = 1;
    doc.titles.rect = Rect{10, 5, 190, 40};
    doc.titles.font.color = 0x0000FF;
    Bitmap24 picture;
    FrameComposer composer(doc, library);
    ASSERT_TRUE(composer.compose(1, picture).ok());
    EXPECT_EQ(doc.currentFrameIndex, 0);
    doc.SelectFrame(1);
    const Bitmap24 frame = test::framePattern(200, 150, 1);
    EXPECT_GT(changedPixels(picture, frame, Rect{20, 60, 180, 130}), 100);
    EXPECT_GT(changedPixels(picture, frame, Rect{10, 5, 190, 40}), 20);
    EXPECT_EQ(changedPixels(picture, frame, Rect{0, 140, 200, 150}), 0);
    // The same picture as the editor composes it over the same start.
    Bitmap24 direct(200, 150);
    std::fill(direct.pixels.begin(), direct.pixels.end(), uint8_t(255));
    ASSERT_TRUE(ComposeFrame(doc, library, direct.pixels.data(), ComposeAll));
    EXPECT_EQ(picture, direct);
    // A damaged stream of another frame is reported, not hidden.
    doc.SelectFrame(0);
    doc.frames[1].imageData =
        std::vector<uint8_t>(doc.frames[1].imageData.begin(),
                             doc.frames[1].imageData.begin() + doc.frames[1].imageData.size() / 2);
    const Status status = composer.compose(1, picture);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.stringId(), str::UnexpectedFormat);
    EXPECT_TRUE(composer.compose(0, picture).ok());
}

}  // namespace
}  // namespace quib

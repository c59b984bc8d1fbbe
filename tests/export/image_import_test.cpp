#include <gtest/gtest.h>

#include <cstring>

#include "export/image_import.h"
#include "export_test_util.h"
#include "imagefilters/image_file.h"

namespace quib {
namespace {

Bitmap24 gradient(int w, int h, int seed) {
    return test::framePattern(w, h, seed);
}

TEST(FitPicture, LargerPictureIsCutAndSmallerPaddedWithBlack) {
    const Bitmap24 big = gradient(10, 8, 1);
    const Bitmap24 cut = fitPictureToFrame(big, Size{4, 3});
    ASSERT_EQ(cut.width, 4);
    ASSERT_EQ(cut.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(0, std::memcmp(cut.pixel(x, y), big.pixel(x, y), 3));

    const Bitmap24 small = gradient(2, 2, 2);
    const Bitmap24 padded = fitPictureToFrame(small, Size{5, 4});
    EXPECT_EQ(0, std::memcmp(padded.pixel(1, 1), small.pixel(1, 1), 3));
    for (const auto& [x, y] : {std::pair{2, 0}, std::pair{0, 2}, std::pair{4, 3}})
        EXPECT_EQ(padded.pixel(x, y)[0] | padded.pixel(x, y)[1] | padded.pixel(x, y)[2], 0);
}

class ImportImagesTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const Bitmap24& picture) {
        const std::string path = dir.path(name);
        EXPECT_TRUE(SaveImageFile(test::shippedFilters(), path, picture));
        return path;
    }
    test::TempDir dir;
};

TEST_F(ImportImagesTest, FramesAreTheImagesAndTheFirstFixesTheSize) {
    const Bitmap24 first = gradient(40, 30, 0);
    const Bitmap24 second = gradient(60, 20, 1);
    const Bitmap24 third = gradient(40, 30, 2);
    const std::vector<std::string> paths = {save("a.png", first), save("b.bmp", second),
                                            save("c.png", third)};
    CQuibDoc doc;
    ASSERT_TRUE(ImportImages(doc, test::shippedFilters(), paths).ok());
    ASSERT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(doc.frameSize, (Size{40, 30}));
    EXPECT_EQ(doc.backgroundSize, (Size{40, 30}));
    EXPECT_EQ(doc.currentFrameIndex, 0);
    EXPECT_EQ(doc.currentImage, first);
    doc.SelectFrame(1);
    EXPECT_EQ(doc.currentImage, fitPictureToFrame(second, Size{40, 30}));
    doc.SelectFrame(2);
    EXPECT_EQ(doc.currentImage, third);
    EXPECT_FALSE(doc.currentFrame.cursorVisible);
    EXPECT_FALSE(doc.currentFrame.textBox.visible);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(ImportImagesTest, UnreadableFileLeavesTheProjectEmpty) {
    const std::vector<std::string> paths = {save("a.png", gradient(8, 8, 0)), dir.path("missing.png")};
    CQuibDoc doc;
    doc.settings.frameRate = 12;
    const Status status = ImportImages(doc, test::shippedFilters(), paths);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.stringId(), str::UnknownFileFormat);
    EXPECT_NE(status.message().find("missing.png"), std::string::npos);
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_EQ(doc.settings.frameRate, 12u);
    EXPECT_TRUE(doc.buttonImages.images[0].isNull());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(ImportImagesTest, ProjectWithFramesIsNotReplaced) {
    CQuibDoc doc;
    test::makeProject(doc, 8, 8, 1);
    EXPECT_FALSE(ImportImages(doc, test::shippedFilters(), {save("a.png", gradient(8, 8, 3))}).ok());
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(doc.currentImage, test::framePattern(8, 8, 0));
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/frame_operations.h"
#include "model/quib_doc.h"
#include "model_test_util.h"
#include "pattern_project.h"

namespace quib {
namespace {

// Picture files by name; any other name cannot be read.
struct PictureFiles {
    std::map<std::string, Bitmap24> files;
    int reads = 0;
    PictureReader reader() {
        return [this](const std::string& path) -> std::optional<Bitmap24> {
            ++reads;
            const auto it = files.find(path);
            return it == files.end() ? std::nullopt : std::optional<Bitmap24>(it->second);
        };
    }
};

struct InsertPictureFrames : ::testing::Test {
    CQuibDoc doc;
    PictureFiles pictures;
    NullProgress progress;

    std::string picture(const std::string& name, int cx, int cy, uint8_t blue) {
        pictures.files[name] = test::solidImage(Size{cx, cy}, blue, 2, 3);
        return name;
    }
    uint8_t blueAt(int index, int x, int y) {
        doc.SelectFrame(index);
        return doc.currentImage.pixel(x, y)[0];
    }
};

TEST_F(InsertPictureFrames, EmptyProject_TakesTheFirstPicturesSize) {
    doc.InitNewProject();
    const std::vector<std::string> files = {picture("a.png", 50, 30, 10), picture("b.png", 20, 40, 20)};
    ASSERT_TRUE(insertPictureFrames(doc, pictures.reader(), files, false, progress).ok());
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.frameSize, (Size{50, 30}));
    EXPECT_EQ(blueAt(0, 49, 29), 10);
    EXPECT_EQ(blueAt(1, 19, 29), 20);  // inside the smaller picture
    EXPECT_EQ(blueAt(1, 20, 0), 0);    // padded black beside it
}

TEST_F(InsertPictureFrames, OneUnreadableFile_NamesItAndChangesNothing) {
    ASSERT_TRUE(test::makePatternProject(doc, 2, 40, 30));
    const Status status = insertPictureFrames(doc, pictures.reader(),
                                              {picture("a.png", 40, 30, 7), "broken.png"}, false, progress);
    EXPECT_NE(status.message().find("Formato di file sconosciuto"), std::string::npos);
    EXPECT_NE(status.message().find("broken.png"), std::string::npos);
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(InsertPictureFrames, ImportWithAnUnreadableFileLeavesTheProjectEmpty) {
    const std::vector<std::string> paths = {picture("a.png", 8, 8, 0), "missing.png"};
    doc.settings.frameRate = 12;
    const Status status = ImportImages(doc, pictures.reader(), paths);
    EXPECT_EQ(status.stringId(), str::UnknownFileFormat);
    EXPECT_NE(status.message().find("missing.png"), std::string::npos);
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_EQ(doc.settings.frameRate, 12u);
    EXPECT_TRUE(doc.buttonImages.images[0].isNull());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(InsertPictureFrames, ImportIntoAProjectWithFramesDoesNotReplaceIt) {
    ASSERT_TRUE(test::makePatternProject(doc, 1, 8, 8));
    EXPECT_FALSE(ImportImages(doc, pictures.reader(), {picture("a.png", 8, 8, 3)}).ok());
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(doc.currentImage.pixel(1, 0)[0], test::patternBlue(1, 0, 0));
}

}  // namespace
}  // namespace quib

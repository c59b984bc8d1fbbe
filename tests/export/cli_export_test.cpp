#include <gtest/gtest.h>

#include "export_test_util.h"
#include "imagefilters/image_file.h"
#include "model/project_storage.h"

namespace quib {
namespace {

class CliExport : public ::testing::Test, protected test::CliFolder {};

TEST_F(CliExport, ImportImagesMakesAFrameOfEachPictureAndFailuresAndWrongArgumentsAreReported) {
    const Bitmap24 first = test::framePattern(48, 32, 0);
    const Bitmap24 second = test::framePattern(30, 40, 1);
    ASSERT_TRUE(SaveImageFile(test::shippedFilters(), dir.path("a.png"), first));
    ASSERT_TRUE(SaveImageFile(test::shippedFilters(), dir.path("b.bmp"), second));
    ASSERT_EQ(status("import-images " + quoted("p.qbk") + " " + quoted("a.png") + " " + quoted("b.bmp")), 0)
        << last.err;

    CQuibDoc doc;
    NullProgress progress;
    ASSERT_TRUE(LoadProject(dir.path("p.qbk"), doc, progress).ok());
    ASSERT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.frameSize, (Size{48, 32}));
    EXPECT_EQ(doc.currentImage, first);

    EXPECT_EQ(status("export-html " + quoted("p.qbk")), 2);
    EXPECT_EQ(status("export-html " + quoted("p.qbk") + " " + quoted("x") + " --format gif"), 1);
    EXPECT_EQ(status("export-pdf " + quoted("p.qbk")), 2);
    EXPECT_EQ(status("export-pdf " + quoted("p.qbk") + " " + quoted("no/such/dir/x.pdf")), 1);
    EXPECT_NE(last.err.find("Impossibile creare il file"), std::string::npos);
    EXPECT_EQ(status("import-images " + quoted("q.qbk")), 2);
    EXPECT_EQ(status("import-images " + quoted("q.qbk") + " " + quoted("missing.png")), 1);
    EXPECT_FALSE(test::fileExists(dir.path("q.qbk")));
}

}  // namespace
}  // namespace quib

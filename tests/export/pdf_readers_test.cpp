#include <gtest/gtest.h>

#include <cstdio>

#include "export/pdf_export.h"
#include "export_test_util.h"
#include "imagefilters/image_file.h"
#include "model/frame_composition.h"

namespace quib {
namespace {

// Checks the documents the export writes with real PDF readers, when they are installed.
class PdfReaders : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::programInstalled("qpdf") || !test::programInstalled("pdftocairo"))
            GTEST_SKIP() << "qpdf or pdftocairo (poppler-utils) is not installed";
    }
    std::string exportProject(CQuibDoc& doc, const std::string& name) {
        NullProgress progress;
        const ExportResult result = ExportPdf(doc, applicationCalloutsOrNone(), dir.path(name), progress);
        EXPECT_TRUE(result.status.ok()) << result.status.message();
        return result.path;
    }
    // Renders page (1-based) at one pixel per unit: the cairo backend draws an image at its own
    // size pixel for pixel.
    Bitmap24 render(const std::string& path, int page) {
        const std::string out = dir.path("page");
        const std::string command = "pdftocairo -png -r 72 -f " + std::to_string(page) + " -l " +
                                    std::to_string(page) + " -singlefile '" + path + "' '" + out +
                                    "' 2>/dev/null";
        std::remove((out + ".png").c_str());
        if (test::runCommand(command) != 0)
            return Bitmap24();
        return LoadImageFile24(test::shippedFilters(), out + ".png").value_or(Bitmap24());
    }

    test::TempDir dir;
};

// Titles with special and foreign characters keep the file valid and read back as typed.
TEST_F(PdfReaders, PagesRenderToTheComposedFramesAndTheOutlineReadsAsTyped) {
    CQuibDoc doc;
    test::makeProject(doc, 120, 90, 3);
    test::editFrame(doc, 0, [](FrameElements& f) {
        f.nextButton = NavButton{1, Point{50, 60}, 0};
        f.title = "a) unbalanced \\ (paren";
    });
    test::editFrame(doc, 1, [](FrameElements& f) { f.title = "Perché € 中文 😀"; });
    test::editFrame(doc, 2, [](FrameElements& f) {
        f.prevButton = NavButton{1, Point{0, 0}, 0};
        f.gotoButtons[0] = NavButton{1, Point{100, 80}, -2};
        f.title = "line\r\nbreak";
    });
    const std::string path = exportProject(doc, "t(1).pdf");
    test::expectQpdfAccepts(test::readFile(path));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(render(path, i + 1), test::composedFrame(doc, i)) << "page " << i + 1;
    const std::string json = dir.path("outline.json");
    ASSERT_EQ(test::runCommand("qpdf --json --json-key=outlines '" + path + "' >'" + json + "'"), 0);
    const std::string outline = test::readFile(json);
    EXPECT_NE(outline.find("a) unbalanced \\\\ (paren"), std::string::npos) << outline;
    EXPECT_NE(outline.find("Perché € 中文 😀"), std::string::npos) << outline;
}

}  // namespace
}  // namespace quib

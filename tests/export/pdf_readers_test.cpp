#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "export/pdf_export.h"
#include "export_test_util.h"
#include "imagefilters/image_file.h"
#include "model/frame_composition.h"
#include "model/synthetic_project.h"
#include "support/qt_pictures.h"

namespace quib {
namespace {

// Checks the documents the export writes with real PDF readers, when they are installed.
class PdfReaders : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::programInstalled("qpdf") || !test::programInstalled("pdftocairo"))
            GTEST_SKIP() << "qpdf or pdftocairo (poppler-utils) is not installed";
    }
    std::string exportProject(CQuibDoc& doc, const std::string& name, Progress* progress = nullptr) {
        NullProgress none;
        const ExportResult result =
            ExportPdf(doc, applicationCalloutsOrNone(), dir.path(name), progress ? *progress : none);
        EXPECT_TRUE(result.status.ok()) << result.status.message();
        return result.path;
    }
    static void expectQpdfAccepts(const std::string& path) { test::expectQpdfAccepts(test::readFile(path)); }
    // Renders page (1-based) at one pixel per unit. The cairo backend draws an image at its own
    // size pixel for pixel; the splash backend of pdftoppm blends the edges of flat areas.
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

TEST_F(PdfReaders, PagesRenderToTheComposedFrames) {
    CQuibDoc doc;
    test::makeProject(doc, 120, 90, 3);
    test::editFrame(doc, 0, [](FrameElements& f) { f.nextButton = NavButton{1, Point{50, 60}, 0}; });
    test::editFrame(doc, 2, [](FrameElements& f) {
        f.prevButton = NavButton{1, Point{0, 0}, 0};
        f.gotoButtons[0] = NavButton{1, Point{100, 80}, -2};
    });
    const std::string path = exportProject(doc, "tour.pdf");
    expectQpdfAccepts(path);
    for (int i = 0; i < 3; ++i) {
        const Bitmap24 page = render(path, i + 1);
        ASSERT_EQ(page.width, 120) << "page " << i + 1;
        ASSERT_EQ(page.height, 90);
        EXPECT_EQ(page, test::composedFrame(doc, i)) << "page " << i + 1;
    }
}

TEST_F(PdfReaders, PdftoppmRendersThePagesAtTheirSizeWithBlendedEdgesOnly) {
    if (!test::programInstalled("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    CQuibDoc doc;
    ASSERT_TRUE(buildSyntheticProject(doc, 160, 120, 2));  // flat, screen-like areas
    const std::string path = exportProject(doc, "splash.pdf");
    for (int page = 1; page <= 2; ++page) {
        const std::string out = dir.path("splash");
        ASSERT_EQ(test::runCommand("pdftoppm -r 72 -f " + std::to_string(page) + " -l " +
                                   std::to_string(page) + " -singlefile '" + path + "' '" + out + "'"),
                  0);
        const Bitmap24 rendered = test::readPictureFile(out + ".ppm");
        const Bitmap24 expected = test::composedFrame(doc, page - 1);
        ASSERT_EQ(rendered.width, expected.width);
        ASSERT_EQ(rendered.height, expected.height);
        // Every rendered pixel lies between the composed pixel and its neighbours above and to the
        // left: the picture is in place, only the edges of areas are blended.
        int outside = 0;
        for (int y = 0; y < expected.height; ++y) {
            for (int x = 0; x < expected.width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    int low = 255, high = 0;
                    for (int dy = -1; dy <= 0; ++dy)
                        for (int dx = -1; dx <= 0; ++dx) {
                            const int v = expected.pixel(std::max(x + dx, 0), std::max(y + dy, 0))[c];
                            low = std::min(low, v), high = std::max(high, v);
                        }
                    const int v = rendered.pixel(x, y)[c];
                    outside += v < low - 1 || v > high + 1;
                }
            }
        }
        EXPECT_EQ(outside, 0) << "page " << page;
    }
}

TEST_F(PdfReaders, OneFrameExampleAndOddSizesAreAccepted) {
    for (const Size size : {Size{320, 240}, Size{1, 1}, Size{333, 7}}) {
        CQuibDoc doc;
        test::makeProject(doc, size.cx, size.cy, 1);
        SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy);
        const std::string path = exportProject(doc, "one.pdf");
        expectQpdfAccepts(path);
        EXPECT_EQ(render(path, 1), test::composedFrame(doc, 0));
    }
}

TEST_F(PdfReaders, CancelledExportIsAValidDocumentOfThePagesDone) {
    CQuibDoc doc;
    test::makeProject(doc, 64, 48, 4);
    for (int i = 0; i < 4; ++i)
        test::editFrame(doc, i, [](FrameElements& f) {
            f.nextButton = NavButton{1, Point{0, 0}, 0};
            f.gotoButtons[1] = NavButton{1, Point{20, 20}, 3};
        });
    test::RecordingProgress cancel(3);
    const std::string path = exportProject(doc, "part.pdf", &cancel);
    expectQpdfAccepts(path);
    EXPECT_EQ(render(path, 3), test::composedFrame(doc, 2));
    EXPECT_TRUE(render(path, 4).isNull());
}

TEST_F(PdfReaders, TitlesWithSpecialAndForeignCharactersKeepTheFileValid) {
    CQuibDoc doc;
    test::makeProject(doc, 32, 32, 3);
    test::editFrame(doc, 0, [](FrameElements& f) { f.title = "a) unbalanced \\ (paren"; });
    test::editFrame(doc, 1, [](FrameElements& f) { f.title = "Perché € 中文 😀"; });
    test::editFrame(doc, 2, [](FrameElements& f) { f.title = "line\r\nbreak"; });
    const std::string path = exportProject(doc, "t(1).pdf");
    expectQpdfAccepts(path);
    // The outline reads back as the titles were typed.
    const std::string json = dir.path("outline.json");
    ASSERT_EQ(test::runCommand("qpdf --json --json-key=outlines '" + path + "' >'" + json + "'"), 0);
    const std::string outline = test::readFile(json);
    EXPECT_NE(outline.find("a) unbalanced \\\\ (paren"), std::string::npos) << outline;
    EXPECT_NE(outline.find("Perché € 中文 😀"), std::string::npos) << outline;
}

}  // namespace
}  // namespace quib

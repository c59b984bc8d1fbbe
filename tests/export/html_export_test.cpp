#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "export/html_export.h"
#include "export_test_util.h"
#include "headless_browser.h"
#include "imagefilters/image_file.h"
#include "model/doc_observer.h"
#include "model/frame_composition.h"

namespace quib {
namespace {

using test::CancelAt;
using test::TempDir;

ButtonImageSet buttonImages() {
    CQuibDoc doc;
    test::makeProject(doc, 8, 8, 0);
    return doc.buttonImages;
}

NavButton shown(int x, int y, int offset = 0) {
    return NavButton{1, Point{x, y}, offset};
}

// A plug-in type that writes a one-byte file, and fails for one picture. Pictures are encoded
// several at a time, so the failing one is known by its pixels, not by the order of the calls.
std::vector<uint8_t> g_failingPixels;
FilterHandle fakeOpenWrite(const char* path, intptr_t, intptr_t, intptr_t, intptr_t, ImageDesc* desc,
                           intptr_t, intptr_t) {
    const auto* pixels = static_cast<const uint8_t*>(desc->pixels);
    if (std::equal(g_failingPixels.begin(), g_failingPixels.end(), pixels))
        return nullptr;
    return std::fopen(path, "wb");
}
int fakeWrite(FilterHandle handle, ImageDesc*, intptr_t, intptr_t) {
    return std::fputc('x', static_cast<FILE*>(handle)) == 'x' ? 1 : 0;
}
void fakeClose(FilterHandle handle) {
    std::fclose(static_cast<FILE*>(handle));
}

FilterCaps failingImageType(const Bitmap24& failing) {
    g_failingPixels = AddOpaqueAlpha(failing).pixels;
    FilterCaps caps{};
    caps.extensions = "fak;fake";
    caps.description = "Fake (*.fak)|*.fak";
    caps.writeCaps = 1;
    caps.openWrite = fakeOpenWrite;
    caps.write = fakeWrite;
    caps.closeWrite = fakeClose;
    return caps;
}

std::string emptyFrameLines(int i, const std::string& image) {
    return "<map name=\"frame" + std::to_string(i) + "map\">\r\n</map>\r\n<img id=\"link" +
           std::to_string(i) + "\" border=0 src=\"" + image + "\" usemap=\"#frame" + std::to_string(i) +
           "map\"><br><br>\r\n";
}

TEST(HtmlFrameLines, ButtonRectanglesAreInclusiveAndHiddenButtonsGiveAnEmptyMap) {
    FrameElements frame;
    frame.nextButton = shown(10, 20);
    EXPECT_EQ(htmlFrameLines(3, 5, frame, buttonImages(), 0, "p3.png"),
              "<map name=\"frame3map\">\r\n"
              "<area shape=\"rect\" alt=\"Next\" coords=\"10,20,69,43\" href=\"#link4\">\r\n"
              "</map>\r\n"
              "<img id=\"link3\" border=0 src=\"p3.png\" usemap=\"#frame3map\"><br><br>\r\n");
    // Hidden buttons give an empty map.
    frame.nextButton.visible = 0;
    bool linked = true;
    EXPECT_EQ(htmlFrameLines(0, 1, frame, buttonImages(), 0, "a0.png", &linked),
              emptyFrameLines(0, "a0.png"));
    EXPECT_FALSE(linked);
}

TEST(HtmlFrameLines, AreasFollowPreviousNextGotoOrderWithTheirTargets) {
    FrameElements frame;
    frame.gotoButtons[1] = shown(1, 2, 1);
    frame.gotoButtons[0] = shown(100, 50, -2);
    frame.nextButton = shown(0, 0);
    frame.prevButton = shown(5, 6);
    bool linked = false;
    const std::string lines = htmlFrameLines(5, 7, frame, buttonImages(), 2, "x.png", &linked);
    EXPECT_TRUE(linked);
    const size_t prev = lines.find("alt=\"Prev\" coords=\"5,6,64,29\" href=\"#link2\"");
    const size_t next = lines.find("alt=\"Next\" coords=\"0,0,59,23\" href=\"#link6\"");
    const size_t goto1 = lines.find("alt=\"Goto\" coords=\"100,50,139,69\" href=\"#link3\"");
    const size_t goto2 = lines.find("alt=\"Goto\" coords=\"1,2,40,21\" href=\"#link6\"");
    ASSERT_NE(prev, std::string::npos);
    ASSERT_NE(next, std::string::npos);
    ASSERT_NE(goto1, std::string::npos);
    ASSERT_NE(goto2, std::string::npos);
    EXPECT_LT(prev, next);
    EXPECT_LT(next, goto1);
    EXPECT_LT(goto1, goto2);
}

TEST(HtmlFrameLines, ExtremePositionsAndOffsetsDoNotOverflowAndTargetsOutsideFollowTheMovie) {
    FrameElements frame;
    frame.nextButton = NavButton{1, Point{INT32_MAX, INT32_MIN}, 0};
    frame.gotoButtons[0] = NavButton{1, Point{0, 0}, INT32_MAX};
    frame.gotoButtons[1] = NavButton{1, Point{0, 0}, INT32_MIN};
    const std::string lines = htmlFrameLines(INT32_MAX - 2, INT32_MAX, frame, buttonImages(), 0, "a.png");
    EXPECT_NE(lines.find("coords=\"2147483647,-2147483648,2147483706,-2147483625\" href=\"#link2147483646\""),
              std::string::npos);
    EXPECT_NE(lines.find("alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link0\""), std::string::npos);
    EXPECT_EQ(lines.find("alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link0\""), lines.rfind("alt=\"Goto\""));
    // A go-to before the first frame leads to the first; one past the last frame is left out, as
    // in the movie.
    frame.gotoButtons[0] = shown(100, 50, -9);
    frame.gotoButtons[1] = shown(1, 2, 6);
    const std::string near = htmlFrameLines(4, 10, frame, buttonImages(), 0, "x.png");
    EXPECT_NE(near.find("coords=\"100,50,139,69\" href=\"#link0\""), std::string::npos);
    EXPECT_EQ(near.find("coords=\"1,2,"), std::string::npos);
}

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeProject(doc, 96, 64, 3);
        png = test::filterIndexFor(test::shippedFilters(), "png");
        ASSERT_GE(png, 0);
    }
    ExportResult exportTo(const std::string& name, int filter, Progress& progress) {
        return ExportHtml(doc, applicationCalloutsOrNone(), dir.path(name), test::shippedFilters(), filter,
                          progress);
    }
    Bitmap24 composed(int index) { return test::composedFrame(doc, index); }

    CQuibDoc doc;
    TempDir dir;
    int png = -1;
    NullProgress progress;
};

TEST_F(HtmlExport, ThreeFramesWithoutButtonsGiveAnchorsEmptyMapsAndImages) {
    const ExportResult result = exportTo("page", png, progress);
    ASSERT_TRUE(result.status.ok()) << result.status.message();
    EXPECT_EQ(result.path, dir.path("page.htm"));
    EXPECT_EQ(result.framesWritten, 3);
    std::string expected = "<html>\r\n<head></head>\r\n<body>\r\n";
    for (int i = 0; i < 3; ++i)
        expected += emptyFrameLines(i, "page" + std::to_string(i) + ".png");
    expected += "</body>\r\n</html>\r\n";
    EXPECT_EQ(test::readFile(dir.path("page.htm")), expected);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(test::fileExists(dir.path("page" + std::to_string(i) + ".png")));
    // Attribute special characters in the page name are escaped.
    ASSERT_TRUE(exportTo("a&b", png, progress).status.ok());
    EXPECT_NE(test::readFile(dir.path("a&b.htm")).find("src=\"a&amp;b0.png\""), std::string::npos);
    EXPECT_TRUE(test::fileExists(dir.path("a&b0.png")));
}

// Following a link in a real browser shows the named frame from its top edge, not the frame after it.
TEST_F(HtmlExport, FollowingALinkPutsTheTopOfItsPictureAtTheTopOfTheView) {
    if (test::HeadlessBrowser::program().empty())
        GTEST_SKIP() << "chromium is not installed";
    CQuibDoc tall;
    test::makeProject(tall, 320, 240, 6);
    test::editFrame(tall, 1, [](FrameElements& f) { f.nextButton = NavButton{1, Point{200, 180}, 0}; });
    ASSERT_TRUE(
        ExportHtml(tall, applicationCalloutsOrNone(), dir.path("page"), test::shippedFilters(), png, progress)
            .status.ok());
    test::HeadlessBrowser browser(dir.path("browser"));
    ASSERT_TRUE(browser.running());
    ASSERT_TRUE(browser.open("file://" + dir.path("page.htm")));
    const auto top = [&](int frame) {
        return browser
            .evaluate("new Promise(done => requestAnimationFrame(() => done(document.getElementById('link" +
                      std::to_string(frame) + "').getBoundingClientRect().top)))")
            .toDouble(-1);
    };
    browser.evaluate("location.hash = '#link1'");
    EXPECT_DOUBLE_EQ(top(1), 0.0);
    // A click in the middle of frame 1's Next button, which links to #link2.
    const double left =
        browser.evaluate("document.getElementById('link1').getBoundingClientRect().left").toDouble();
    browser.click(left + 230, top(1) + 192);
    EXPECT_EQ(browser.evaluate("location.hash").toString(), QStringLiteral("#link2"));
    EXPECT_DOUBLE_EQ(top(2), 0.0);
}

// PNG and BMP pictures load back to the composed pixels, JPEG ones close to them.
TEST_F(HtmlExport, ImagesLoadBackToTheComposedPixels) {
    test::editFrame(doc, 1, [](FrameElements& f) {
        f.nextButton = NavButton{1, Point{30, 30}, 0};
        f.gotoButtons[0] = NavButton{1, Point{-10, 50}, -1};  // partly outside the canvas
    });
    const int bmp = test::filterIndexFor(test::shippedFilters(), "bmp");
    const int jpg = test::filterIndexFor(test::shippedFilters(), "jpg");
    ASSERT_GE(bmp, 0);
    ASSERT_GE(jpg, 0);
    ASSERT_TRUE(exportTo("shots.html", png, progress).status.ok());
    ASSERT_TRUE(exportTo("b", bmp, progress).status.ok());
    ASSERT_TRUE(exportTo("j", jpg, progress).status.ok());
    EXPECT_NE(test::readFile(dir.path("j.htm")).find("src=\"j2.jpg\""), std::string::npos);
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        const auto p = LoadImageFile24(test::shippedFilters(), dir.path("shots" + n + ".png"));
        const auto b = LoadImageFile24(test::shippedFilters(), dir.path("b" + n + ".bmp"));
        const auto j = LoadImageFile24(test::shippedFilters(), dir.path("j" + n + ".jpg"));
        ASSERT_TRUE(p && b && j);
        const Bitmap24 expected = composed(i);
        EXPECT_EQ(*p, expected) << "frame " << i;
        EXPECT_EQ(*b, expected);
        ASSERT_EQ(j->pixels.size(), expected.pixels.size());
        long total = 0;
        for (size_t k = 0; k < expected.pixels.size(); ++k)
            total += std::abs(int(j->pixels[k]) - int(expected.pixels[k]));
        EXPECT_LT(total / long(expected.pixels.size()), 24) << "frame " << i;
    }
    // The picture shows the frame and the button drawn over it.
    const Bitmap24 frame1 = composed(1);
    EXPECT_EQ(frame1.pixel(31, 31)[1], 255);
    EXPECT_EQ(0, std::memcmp(frame1.pixel(0, 0), test::framePattern(96, 64, 1).pixel(0, 0), 3));
}

TEST_F(HtmlExport, PreviousLinksToTheLastEarlierFrameThatHadARectangle) {
    doc.DeleteContents();
    test::makeProject(doc, 96, 64, 5);
    test::editFrame(doc, 1, [](FrameElements& f) { f.gotoButtons[1] = NavButton{1, Point{0, 0}, 2}; });
    test::editFrame(doc, 3, [](FrameElements& f) { f.prevButton = NavButton{1, Point{2, 3}, 0}; });
    test::editFrame(doc, 4, [](FrameElements& f) { f.prevButton = NavButton{1, Point{2, 3}, 0}; });
    ASSERT_TRUE(exportTo("p", png, progress).status.ok());
    const std::string page = test::readFile(dir.path("p.htm"));
    const size_t frame3 = page.find("<map name=\"frame3map\">");
    const size_t frame4 = page.find("<map name=\"frame4map\">");
    EXPECT_NE(page.find("alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link3\""), std::string::npos);
    EXPECT_EQ(page.find("alt=\"Prev\" coords=\"2,3,61,26\" href=\"#link1\""),
              page.find("alt=\"Prev\"", frame3));
    EXPECT_EQ(page.find("alt=\"Prev\" coords=\"2,3,61,26\" href=\"#link3\""),
              page.find("alt=\"Prev\"", frame4));
}

TEST_F(HtmlExport, FirstFrameHasNoPreviousAndLastNoNext) {
    for (int i = 0; i < 3; ++i)
        test::editFrame(doc, i, [](FrameElements& f) {
            f.prevButton = NavButton{1, Point{0, 40}, 0};
            f.nextButton = NavButton{1, Point{36, 40}, 0};
        });
    ASSERT_TRUE(exportTo("p", png, progress).status.ok());
    const std::string page = test::readFile(dir.path("p.htm"));
    const size_t map1 = page.find("<map name=\"frame1map\">");
    const size_t map2 = page.find("<map name=\"frame2map\">");
    EXPECT_GT(page.find("alt=\"Prev\""), map1);
    EXPECT_LT(page.rfind("alt=\"Next\""), map2);
    EXPECT_NE(page.find("href=\"#link2\"", map1), std::string::npos);
    EXPECT_NE(page.find("alt=\"Prev\" coords=\"0,40,59,63\" href=\"#link1\""), std::string::npos);
}

// A type that cannot write does not start, a page that cannot be created writes nothing, and a
// failed image closes the page with the frames done; the current frame stays.
TEST_F(HtmlExport, FailuresWriteNothingOrCloseThePageWithTheFramesDone) {
    doc.SelectFrame(2);
    const int gif = test::filterIndexFor(test::shippedFilters(), "gif");
    ASSERT_GE(gif, 0);
    EXPECT_FALSE(exportTo("page", gif, progress).status.ok());
    EXPECT_FALSE(exportTo("page", 999, progress).status.ok());
    EXPECT_FALSE(test::fileExists(dir.path("page.htm")));
    const std::vector<int> writable = htmlExportFilterIndices(test::shippedFilters());
    EXPECT_EQ(std::count(writable.begin(), writable.end(), gif), 0);
    EXPECT_EQ(std::count(writable.begin(), writable.end(), png), 1);
    EXPECT_EQ(filterDisplayName(*test::shippedFilters().entry(png).caps).find('|'), std::string::npos);

    const ExportResult missing = exportTo("missing/page", png, progress);
    EXPECT_FALSE(missing.status.ok());
    EXPECT_EQ(missing.status.message(), "Impossibile creare il file " + dir.path("missing/page.htm"));
    EXPECT_EQ(doc.currentFrameIndex, 2);
    EXPECT_EQ(missing.framesWritten, 0);

    FilterTable table;
    const FilterCaps fake = failingImageType(composed(1));
    ASSERT_TRUE(table.addEntry(nullptr, &fake));
    const ExportResult result =
        ExportHtml(doc, applicationCalloutsOrNone(), dir.path("page"), table, 0, progress);
    EXPECT_FALSE(result.status.ok());
    EXPECT_EQ(result.status.message(), "Impossibile creare il file " + dir.path("page1.fak"));
    EXPECT_EQ(result.framesWritten, 1);
    EXPECT_EQ(test::readFile(dir.path("page.htm")), std::string("<html>\r\n<head></head>\r\n<body>\r\n") +
                                                        emptyFrameLines(0, "page0.fak") +
                                                        "</body>\r\n</html>\r\n");
    EXPECT_EQ(test::readFile(dir.path("page0.fak")), "x");
    EXPECT_FALSE(test::fileExists(dir.path("page1.fak")));
    EXPECT_EQ(doc.currentFrameIndex, 2);
}

TEST_F(HtmlExport, CancelStopsBeforeTheNextFrameAndClosesThePage) {
    CancelAt cancel(2);
    doc.SelectFrame(1);
    const ExportResult result = exportTo("page", png, cancel);
    EXPECT_TRUE(result.status.ok());
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.framesWritten, 2);
    EXPECT_EQ(cancel.range, std::make_pair(0, 2));
    EXPECT_EQ(cancel.positions, (std::vector<int>{0, 1, 2}));
    const std::string page = test::readFile(dir.path("page.htm"));
    EXPECT_NE(page.find("link1"), std::string::npos);
    EXPECT_EQ(page.find("link2"), std::string::npos);
    EXPECT_TRUE(page.ends_with("</body>\r\n</html>\r\n"));
    EXPECT_FALSE(test::fileExists(dir.path("page2.png")));
    EXPECT_EQ(doc.currentFrameIndex, 1);
}

}  // namespace
}  // namespace quib

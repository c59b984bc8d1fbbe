#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "export/html_export.h"
#include "export_test_util.h"
#include "headless_browser.h"
#include "model/frame_composition.h"

namespace quib {
namespace {

ButtonImageSet buttonImages() {
    CQuibDoc doc;
    test::makeProject(doc, 8, 8, 0);
    return doc.buttonImages;
}

std::string emptyFrameLines(int i, const std::string& image) {
    return "<map name=\"frame" + std::to_string(i) + "map\">\r\n</map>\r\n<img id=\"link" +
           std::to_string(i) + "\" border=0 src=\"" + image + "\" usemap=\"#frame" + std::to_string(i) +
           "map\"><br><br>\r\n";
}

// The whole page of frames without buttons, showing these pictures.
std::string pageOfEmptyFrames(const std::vector<std::string>& images) {
    std::string page = "<html>\r\n<head></head>\r\n<body>\r\n";
    for (size_t i = 0; i < images.size(); ++i)
        page += emptyFrameLines(int(i), images[i]);
    return page + "</body>\r\n</html>\r\n";
}

// Each part is found in text, after the one before it.
void expectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    size_t at = 0;
    for (const std::string& part : parts) {
        at = text.find(part, at);
        ASSERT_NE(at, std::string::npos) << part << " in order in\n" << text;
    }
}

TEST(HtmlFrameLines, ExtremePositionsAndOffsetsDoNotOverflowAndTargetsOutsideFollowTheMovie) {
    FrameElements frame;
    frame.nextButton = NavButton{1, Point{INT32_MAX, INT32_MIN}, 0};
    frame.gotoButtons[0] = NavButton{1, Point{0, 0}, INT32_MAX};
    frame.gotoButtons[1] = NavButton{1, Point{0, 0}, INT32_MIN};
    const std::string lines = htmlFrameLines(INT32_MAX - 2, INT32_MAX, frame, buttonImages(), 0, "a.png");
    EXPECT_NE(lines.find("coords=\"2147483647,-2147483648,2147483706,-2147483625\" href=\"#link2147483646\""),
              std::string::npos);
    // A go-to before the first frame leads to the first; one past the last is left out, as in the movie.
    EXPECT_NE(lines.find("alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link0\""), std::string::npos);
    EXPECT_EQ(lines.find("alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link0\""), lines.rfind("alt=\"Goto\""));
}

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeProject(doc, 96, 64, 3);
        png = test::filterIndexFor(test::shippedFilters(), "png");
        ASSERT_GE(png, 0);
    }
    ExportResult exportTo(const std::string& name, int filter, Progress& progress,
                          const CQuibDoc* other = nullptr) {
        return ExportHtml(other ? *other : doc, applicationCalloutsOrNone(), dir.path(name),
                          test::shippedFilters(), filter, progress);
    }

    CQuibDoc doc;
    test::TempDir dir;
    int png = -1;
    NullProgress progress;
};

TEST_F(HtmlExport, ThreeFramesWithoutButtonsGiveAnchorsEmptyMapsAndImages) {
    const ExportResult result = exportTo("page", png, progress);
    ASSERT_TRUE(result.status.ok()) << result.status.message();
    EXPECT_EQ(result.path, dir.path("page.htm"));
    EXPECT_EQ(result.framesWritten, 3);
    EXPECT_EQ(test::readFile(dir.path("page.htm")),
              pageOfEmptyFrames({"page0.png", "page1.png", "page2.png"}));
}

// Following a link in a real browser shows the named frame from its top edge, not the frame after it.
TEST_F(HtmlExport, FollowingALinkPutsTheTopOfItsPictureAtTheTopOfTheView) {
    if (test::HeadlessBrowser::program().empty())
        GTEST_SKIP() << "chromium is not installed";
    CQuibDoc tall;
    test::makeProject(tall, 320, 240, 6);
    test::editFrame(tall, 1, [](FrameElements& f) { f.nextButton = NavButton{1, Point{200, 180}, 0}; });
    ASSERT_TRUE(exportTo("page", png, progress, &tall).status.ok());
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

// Previous leads to the last earlier frame whose map had a rectangle; the first frame has no
// Previous and the last no Next.
TEST_F(HtmlExport, PreviousLinksToTheLastEarlierFrameThatHadARectangleAndTheEndsLeadNowhereOutside) {
    CQuibDoc five;
    test::makeProject(five, 96, 64, 5);
    for (int i : {0, 3, 4})
        test::editFrame(five, i, [](FrameElements& f) {
            f.prevButton = NavButton{1, Point{2, 3}, 0};
            f.nextButton = NavButton{1, Point{36, 40}, 0};
        });
    test::editFrame(five, 1, [](FrameElements& f) { f.gotoButtons[1] = NavButton{1, Point{0, 0}, 2}; });
    test::editFrame(five, 3, [](FrameElements& f) {
        f.gotoButtons[1] = NavButton{1, Point{1, 2}, 1};
        f.gotoButtons[0] = NavButton{1, Point{60, 30}, -2};
    });
    ASSERT_TRUE(exportTo("p", png, progress, &five).status.ok());
    // Button rectangles are inclusive and areas follow Previous, Next, Goto 1, Goto 2; a frame
    // without buttons has an empty map.
    expectInOrder(test::readFile(dir.path("p.htm")),
                  {"<map name=\"frame0map\">\r\n"
                   "<area shape=\"rect\" alt=\"Next\" coords=\"36,40,95,63\" href=\"#link1\">\r\n"
                   "</map>\r\n<img id=\"link0\" border=0 src=\"p0.png\" usemap=\"#frame0map\"><br><br>\r\n",
                   "alt=\"Goto\" coords=\"0,0,39,19\" href=\"#link3\"", emptyFrameLines(2, "p2.png"),
                   "<map name=\"frame3map\">\r\n"
                   "<area shape=\"rect\" alt=\"Prev\" coords=\"2,3,61,26\" href=\"#link1\">\r\n"
                   "<area shape=\"rect\" alt=\"Next\" coords=\"36,40,95,63\" href=\"#link4\">\r\n"
                   "<area shape=\"rect\" alt=\"Goto\" coords=\"60,30,99,49\" href=\"#link1\">\r\n"
                   "<area shape=\"rect\" alt=\"Goto\" coords=\"1,2,40,21\" href=\"#link4\">\r\n</map>\r\n",
                   "<map name=\"frame4map\">\r\n"
                   "<area shape=\"rect\" alt=\"Prev\" coords=\"2,3,61,26\" href=\"#link3\">\r\n</map>\r\n"});
}

// A type that cannot write does not start, a page that cannot be created writes nothing, and a
// failed image closes the page with the frames done.
TEST_F(HtmlExport, FailuresWriteNothingOrCloseThePageWithTheFramesDone) {
    const int gif = test::filterIndexFor(test::shippedFilters(), "gif");
    ASSERT_GE(gif, 0);
    EXPECT_FALSE(exportTo("page", gif, progress).status.ok());
    EXPECT_FALSE(test::fileExists(dir.path("page.htm")));
    const std::vector<int> writable = htmlExportFilterIndices(test::shippedFilters());
    EXPECT_EQ(std::count(writable.begin(), writable.end(), gif), 0);
    EXPECT_EQ(std::count(writable.begin(), writable.end(), png), 1);
    EXPECT_EQ(filterDisplayName(*test::shippedFilters().entry(png).caps).find('|'), std::string::npos);

    const ExportResult missing = exportTo("missing/page", png, progress);
    EXPECT_EQ(missing.status.message(), "Impossibile creare il file " + dir.path("missing/page.htm"));
    EXPECT_EQ(missing.framesWritten, 0);

    // A picture whose name a folder holds cannot be written: the page ends with the frames before it.
    std::filesystem::create_directory(dir.path("page1.png"));
    const ExportResult result = exportTo("page", png, progress);
    EXPECT_EQ(result.status.message(), "Impossibile creare il file " + dir.path("page1.png"));
    EXPECT_EQ(result.framesWritten, 1);
    EXPECT_EQ(test::readFile(dir.path("page.htm")), pageOfEmptyFrames({"page0.png"}));
    EXPECT_TRUE(test::fileExists(dir.path("page0.png")));
}

TEST_F(HtmlExport, CancelStopsBeforeTheNextFrameAndClosesThePage) {
    test::RecordingProgress cancel(2);
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
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include <cstdint>

#include "base/zlib_stream_compressor.h"
#include "export/pdf_export.h"
#include "export_test_util.h"
#include "model/frame_composition.h"

namespace quib {
namespace {

std::string asText(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Every document built here must also satisfy a real reader.
std::string buildPdf(CQuibDoc& doc, const std::string& title = "tour.pdf") {
    NullProgress progress;
    const std::string pdf = asText(buildPdfDocument(doc, applicationCalloutsOrNone(), title, progress).bytes);
    test::expectQpdfAccepts(pdf);
    return pdf;
}

// The frame picture as the page image stores it: red, green, blue, compressed at level 6 of the
// fast compressor.
std::string pageStream(const Bitmap24& picture) {
    std::vector<uint8_t> rgb(picture.pixels.size());
    for (size_t k = 0; k < rgb.size(); k += 3) {
        rgb[k] = picture.pixels[k + 2];
        rgb[k + 1] = picture.pixels[k + 1];
        rgb[k + 2] = picture.pixels[k];
    }
    std::vector<uint8_t> out;
    EXPECT_TRUE(ZlibStreamCompressor::compress(rgb.data(), rgb.size(), 6, out));
    return std::string(out.begin(), out.end());
}

const std::string kPlaceholder = "/Type /Annot\r\n/Subtype /Text\r\n/Rect [ 0 0 0 0 ]\r\n/Contents ()\r\n";

void checkXrefPointsAtObjects(const std::string& pdf, int objects) {
    const std::map<int, size_t> xref = test::pdfXref(pdf);
    ASSERT_EQ(int(xref.size()), objects);
    for (const auto& [number, offset] : xref)
        EXPECT_EQ(
            pdf.compare(offset, std::to_string(number).size() + 8, std::to_string(number) + " 0 obj\r\n"), 0)
            << "object " << number;
}

// Each numbered object holds its text.
void expectObjectsHold(const std::string& pdf, const std::vector<std::pair<int, std::string>>& parts) {
    for (const auto& [number, text] : parts)
        EXPECT_NE(test::pdfObject(pdf, number).find(text), std::string::npos)
            << "object " << number << ": " << text;
}

TEST(PdfExport, OneFrameOf320x240IsWrittenByteForByte) {
    CQuibDoc doc;
    test::makeProject(doc, 320, 240, 1);
    const std::string pdf = buildPdf(doc);

    std::string expected = "%PDF-1.2\r\n%\xE2\xE3\xE2\xE3\r\n\r\n";
    std::vector<size_t> offsets;
    auto object = [&](int number, const std::string& body) {
        offsets.push_back(expected.size());
        expected += std::to_string(number) + " 0 obj\r\n<<\r\n" + body;
    };
    object(1,
           "/Creator (Corvander Quib)\r\n/Title (tour.pdf)\r\n/Producer (Corvander Quib PDF Export)\r\n>>\r\n"
           "endobj\r\n");
    object(2, "/Type /Catalog\r\n/Outlines 3 0 R\r\n/Pages 4 0 R\r\n>>\r\nendobj\r\n");
    object(3, "/Type /Outlines\r\n/Count 1\r\n/First 8 0 R\r\n/Last 8 0 R\r\n>>\r\nendobj\r\n");
    object(4,
           "/Type /Pages\r\n/Kids [\r\n5 0 R\r\n]\r\n/Count 1\r\n/MediaBox [ 0 0 320 240 ]\r\n"
           "/CropBox [ 0 0 320 240 ]\r\n>>\r\nendobj\r\n");
    object(5,
           "/Type /Page\r\n/Parent 4 0 R\r\n/Resources <<\r\n/XObject <<\r\n/im0 6 0 R\r\n>>\r\n"
           "/ProcSet [ /PDF /Text /ImageC ]\r\n>>\r\n/Contents 7 0 R\r\n/Annots [ 9 0 R 10 0 R 11 0 R 12 0 R "
           "]\r\n"
           ">>\r\nendobj\r\n");
    const std::string stream = pageStream(test::framePattern(320, 240, 0));
    object(6,
           "/Type /XObject\r\n/Subtype /Image\r\n/Name /im0\r\n/Filter [ /FlateDecode ]\r\n/Width 320\r\n"
           "/Height 240\r\n/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n/Length " +
               std::to_string(stream.size()) + "\r\n/Interpolate true\r\n>>\r\nstream\r\n" + stream +
               "\r\nendstream\r\nendobj\r\n");
    object(
        7,
        "/Length 33\r\n>>\r\nstream\r\nq\r\n320 0 0 240 0 0 cm\r\n/im0 Do\r\nQ\r\nendstream\r\nendobj\r\n");
    object(8, "/Title (Frame 1)\r\n/Parent 3 0 R\r\n/Dest [ 5 0 R /XYZ 0 0 0]\r\n>>\r\nendobj\r\n");
    for (int n = 9; n <= 12; ++n)
        object(n, kPlaceholder + ">>\r\nendobj\r\n");
    const size_t xref = expected.size();
    expected += "xref\r\n0 13\r\n0000000000 65535 f\r\n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
        expected += entry;
    }
    expected += "trailer\r\n<<\r\n/Size 13\r\n/Info 1 0 R\r\n/Root 2 0 R\r\n>>\r\nstartxref\r\n" +
                std::to_string(xref) + "\r\n%%EOF\r\n";

    EXPECT_EQ(pdf, expected);
}

// The middle entry links both ways; an untitled frame is named by its number.
TEST(PdfExport, OutlineEntriesChainThroughTheFramesWithTheirTitles) {
    CQuibDoc doc;
    test::makeProject(doc, 32, 32, 3);
    test::editFrame(doc, 1, [](FrameElements& f) { f.title.clear(); });
    const std::string pdf = buildPdf(doc, "a(b).pdf");
    EXPECT_EQ(test::pdfObject(pdf, 16),
              "16 0 obj\r\n<<\r\n/Title (Frame 2)\r\n/Parent 3 0 R\r\n/Prev 8 0 R\r\n/Next 24 0 R\r\n"
              "/Dest [ 13 0 R /XYZ 0 0 0]\r\n>>\r\nendobj\r\n");
    expectObjectsHold(pdf, {{1, "/Title (a\\(b\\).pdf)\r\n"},
                            {3, "/Count 3\r\n/First 8 0 R\r\n/Last 24 0 R\r\n"},
                            {4, "/Kids [\r\n5 0 R\r\n13 0 R\r\n21 0 R\r\n]\r\n/Count 3\r\n"}});
}

TEST(PdfExport, PreviousLinksToTheLastEarlierPageThatHadALinkAndNotBeforeTheFirst) {
    CQuibDoc doc;
    test::makeProject(doc, 64, 48, 5);
    test::editFrame(doc, 1, [](FrameElements& f) { f.gotoButtons[0] = NavButton{1, Point{0, 0}, 3}; });
    for (int i : {0, 3, 4})
        test::editFrame(doc, i, [](FrameElements& f) { f.prevButton = NavButton{1, Point{0, 0}, 0}; });
    const std::string pdf = buildPdf(doc);
    // Goto of page 1 to page 4; Previous of pages 3 and 4 to pages 1 and 3, of page 0 nowhere.
    expectObjectsHold(pdf, {{9, kPlaceholder},
                            {5 + 8 * 1 + 6, "/Dest [ 37 0 R"},
                            {5 + 8 * 3 + 4, "/Dest [ 13 0 R"},
                            {5 + 8 * 4 + 4, "/Dest [ 29 0 R"}});
}

// Before the first frame: the first page; past the last: a placeholder, as in the movie. Extreme
// positions and offsets stay sound.
TEST(PdfExport, GotoOutsideTheProjectFollowsTheMovieAndExtremeButtonsStaySound) {
    CQuibDoc doc;
    test::makeProject(doc, 64, 48, 3);
    test::editFrame(doc, 0, [](FrameElements& f) {
        f.nextButton = NavButton{1, Point{INT32_MAX, INT32_MIN}, 0};
        f.gotoButtons[0] = NavButton{1, Point{0, 0}, INT32_MAX};
        f.gotoButtons[1] = NavButton{1, Point{0, 0}, INT32_MIN};
    });
    test::editFrame(doc, 1, [](FrameElements& f) {
        f.gotoButtons[0] = NavButton{1, Point{0, 0}, -2};
        f.gotoButtons[1] = NavButton{1, Point{0, 0}, 2};
    });
    test::editFrame(doc, 2, [](FrameElements& f) { f.gotoButtons[1] = NavButton{1, Point{10, 5}, -2}; });
    const std::string pdf = buildPdf(doc);
    expectObjectsHold(pdf, {{19, "/Rect [ 0 48 40 28 ]\r\n/Dest [ 5 0 R "},
                            {20, kPlaceholder},
                            {10, "/Rect [ 2147483647 2147483696 2147483707 2147483672 ]"},
                            {11, kPlaceholder},
                            {12, "/Dest [ 5 0 R "}});
    EXPECT_EQ(test::pdfObject(pdf, 28),
              "28 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /Link\r\n/Rect [ 10 43 50 23 ]\r\n"
              "/Dest [ 5 0 R /XYZ 0 0 0]\r\n/Border [ 0 0 0 ]\r\n>>\r\nendobj\r\n");
}

TEST(PdfExport, ProjectWithoutFramesIsADocumentOfNoPages) {
    CQuibDoc doc;
    test::makeProject(doc, 64, 48, 0);
    const std::string pdf = buildPdf(doc);
    EXPECT_EQ(test::pdfObject(pdf, 3), "3 0 obj\r\n<<\r\n/Type /Outlines\r\n/Count 0\r\n>>\r\nendobj\r\n");
    expectObjectsHold(pdf, {{4, "/Kids [\r\n]\r\n/Count 0\r\n"}});
    EXPECT_NE(pdf.find("/Size 5\r\n"), std::string::npos);
    checkXrefPointsAtObjects(pdf, 4);
}

TEST(PdfExport, CancelledExportNamesOnlyThePagesDone) {
    CQuibDoc doc;
    test::makeProject(doc, 64, 48, 4);
    for (int i = 0; i < 4; ++i)
        test::editFrame(doc, i, [](FrameElements& f) { f.nextButton = NavButton{1, Point{0, 0}, 0}; });
    test::editFrame(doc, 0, [](FrameElements& f) { f.gotoButtons[0] = NavButton{1, Point{0, 0}, 3}; });
    test::RecordingProgress cancel(2);
    const PdfBuildResult result = buildPdfDocument(doc, applicationCalloutsOrNone(), "t", cancel);
    const std::string pdf = asText(result.bytes);
    test::expectQpdfAccepts(pdf);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.pagesWritten, 2);
    EXPECT_EQ(cancel.range, std::make_pair(0, 3));
    checkXrefPointsAtObjects(pdf, 4 + 16);
    // Next of page 1 to page 2; its Goto to page 4 and Next of page 2 lead nowhere.
    expectObjectsHold(pdf, {{3, "/Count 2\r\n/First 8 0 R\r\n/Last 16 0 R\r\n"},
                            {4, "/Kids [\r\n5 0 R\r\n13 0 R\r\n]\r\n/Count 2\r\n"},
                            {10, "/Dest [ 13 0 R"},
                            {11, kPlaceholder},
                            {18, kPlaceholder}});
    EXPECT_EQ(test::pdfObject(pdf, 16).find("/Next"), std::string::npos);
    EXPECT_EQ(test::pdfObject(pdf, 21), "");
}

TEST(PdfExportFile, PathWithoutExtensionGetsPdfAndTheTitleStaysAsChosenOrIsNamedWhenItFails) {
    CQuibDoc doc;
    test::makeProject(doc, 40, 30, 2);
    test::TempDir dir;
    NullProgress progress;
    const ExportResult result = ExportPdf(doc, applicationCalloutsOrNone(), dir.path("tour"), progress);
    ASSERT_TRUE(result.status.ok()) << result.status.message();
    EXPECT_EQ(result.path, dir.path("tour.pdf"));
    EXPECT_EQ(result.framesWritten, 2);
    const std::string pdf = test::readFile(dir.path("tour.pdf"));
    EXPECT_NE(pdf.find("/Title (tour)\r\n"), std::string::npos);
    EXPECT_FALSE(test::fileExists(dir.path("tour")));
    // A file that cannot be created is named as chosen.
    const ExportResult failed = ExportPdf(doc, applicationCalloutsOrNone(), dir.path("none/tour"), progress);
    EXPECT_FALSE(failed.status.ok());
    EXPECT_EQ(failed.status.stringId(), str::CannotCreateFile);
    EXPECT_EQ(failed.status.message(), "Impossibile creare il file " + dir.path("none/tour"));
}

}  // namespace
}  // namespace quib

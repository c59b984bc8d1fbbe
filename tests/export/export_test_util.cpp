#include "export_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "model/frame_composer.h"

namespace quib::test {

Bitmap24 composedFrame(const CQuibDoc& doc, int index, uint32_t flags, const CalloutLibrary& callouts) {
    Bitmap24 picture;
    FrameComposer composer(doc, callouts);
    EXPECT_TRUE(composer.compose(index, picture, flags).ok());
    return picture;
}

Bitmap24 framePattern(int cx, int cy, int k) {
    Bitmap24 picture(cx, cy);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = uint8_t((x * 7 + k * 40) & 0xFF);
            p[1] = uint8_t((y * 5 + k * 90) & 0xFF);
            p[2] = uint8_t(((x / 8 + y / 8) % 2) * 200 + k * 11);
        }
    }
    return picture;
}

void makeProject(CQuibDoc& doc, int cx, int cy, int count) {
    doc.frameSize = doc.backgroundSize = Size{cx, cy};
    doc.buttonImages.images[ButtonImageSet::Previous] = solidPicture32(60, 24, 0, 0, 255, 255);
    doc.buttonImages.images[ButtonImageSet::Next] = solidPicture32(60, 24, 0, 255, 0, 255);
    doc.buttonImages.images[ButtonImageSet::Goto1] = solidPicture32(40, 20, 255, 0, 0, 255);
    doc.buttonImages.images[ButtonImageSet::Goto2] = solidPicture32(40, 20, 255, 255, 0, 255);
    for (int k = 0; k < count; ++k) {
        doc.currentImage = framePattern(cx, cy, k);
        doc.currentFrame = Frame();
        doc.currentFrame.title = "Frame " + std::to_string(k + 1);
        ASSERT_TRUE(doc.AppendCapturedFrame());
    }
    if (count > 0)
        doc.SelectFrame(0, true);
}

void editFrame(CQuibDoc& doc, int index, void (*edit)(FrameElements&)) {
    Frame frame;
    doc.GetFrame(index, frame);
    edit(frame);
    doc.SetFrame(index, frame, false);
    if (doc.currentFrameIndex >= 0)
        doc.SelectFrame(doc.currentFrameIndex, true);
}

FilterTable& shippedFilters() {
    static FilterTable table;
    if (table.size() == 0)
        table.loadFilters(QUIB_SHIPPED_FILTERS_DIR, DefaultFilterTools(), 1, true);
    return table;
}

int filterIndexFor(const FilterTable& table, const std::string& extension) {
    for (int i = 0; i < table.size(); ++i) {
        if (ExtensionListHas(table.entry(i).caps->extensions, extension))
            return i;
    }
    return -1;
}

void expectQpdfAccepts(const std::string& pdf) {
    static const bool haveQpdf = programInstalled("qpdf");
    if (!haveQpdf)
        return;
    TempDir dir;
    writeFile(dir.path("check.pdf"), pdf);
    const int status =
        runCommand("qpdf --check " + quoted(dir, "check.pdf") + " >" + quoted(dir, "log") + " 2>&1");
    const std::string log = readFile(dir.path("log"));
    EXPECT_EQ(status, 0) << log;
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
}

std::map<int, size_t> pdfXref(const std::string& pdf) {
    std::map<int, size_t> offsets;
    const size_t sx = pdf.rfind("startxref\r\n");
    EXPECT_NE(sx, std::string::npos);
    if (sx == std::string::npos)
        return offsets;
    const size_t xref = std::stoull(pdf.substr(sx + 11));
    EXPECT_EQ(pdf.compare(xref, 6, "xref\r\n"), 0);
    size_t at = xref + 6;
    const size_t lineEnd = pdf.find("\r\n", at);
    int first = 0, count = 0;
    EXPECT_EQ(std::sscanf(pdf.substr(at, lineEnd - at).c_str(), "%d %d", &first, &count), 2);
    at = lineEnd + 2;
    for (int k = 0; k < count; ++k, at += 20) {
        const std::string entry = pdf.substr(at, 20);
        EXPECT_EQ(entry.size(), 20u);
        EXPECT_EQ(entry.substr(18), "\r\n") << "entry " << k;
        if (k == 0) {
            EXPECT_EQ(entry, "0000000000 65535 f\r\n");
            continue;
        }
        EXPECT_EQ(entry.substr(10, 8), " 00000 n");
        offsets[first + k] = std::stoull(entry.substr(0, 10));
    }
    EXPECT_EQ(pdf.compare(at, 9, "trailer\r\n"), 0);
    return offsets;
}

std::string pdfObject(const std::string& pdf, int number) {
    // Through the cross-reference table, as a reader finds it: a document cut short holds older
    // versions of some objects before the ones it uses.
    const std::map<int, size_t> xref = pdfXref(pdf);
    const auto entry = xref.find(number);
    if (entry == xref.end())
        return std::string();
    const size_t at = entry->second;
    const size_t end = pdf.find("endobj\r\n", at);
    return pdf.substr(at, end == std::string::npos ? std::string::npos : end + 8 - at);
}

}  // namespace quib::test

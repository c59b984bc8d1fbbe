#include "export/pdf_export.h"

#include <cstdio>
#include <string>
#include <utility>

#include "base/atomic_file.h"
#include "base/zlib_util.h"
#include "export/export_names.h"
#include "export/pdf_text.h"
#include "model/frame_composer.h"
#include "model/goto_target.h"

namespace quib {

namespace {

std::string format(const char* pattern, auto... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return std::string(buffer, size_t(n > 0 ? n : 0));
}

int pageObject(int index) {
    return 5 + 8 * index;
}

std::string beginObject(int number) {
    return format("%d 0 obj\r\n<<\r\n", number);
}

constexpr const char* kEndObject = ">>\r\nendobj\r\n";

}  // namespace

PdfDocumentWriter::PdfDocumentWriter(Size pageSize, std::string title)
    : m_size(pageSize), m_title(std::move(title)) {}

void PdfDocumentWriter::addPage(const FrameElements& frame, const ButtonImageSet& images,
                                const std::vector<uint8_t>& imageStream) {
    const int i = pageCount();
    const int p = pageObject(i);
    Page page;
    page.bodyBegin = m_body.size();
    // An untitled frame still gets an outline entry a reader can tell apart.
    page.title = frame.title.empty() ? "Frame " + std::to_string(i + 1) : frame.title;
    const NavButton* buttons[4] = {&frame.prevButton, &frame.nextButton, &frame.gotoButtons[0],
                                   &frame.gotoButtons[1]};
    const int kinds[4] = {ButtonImageSet::Previous, ButtonImageSet::Next, ButtonImageSet::Goto1,
                          ButtonImageSet::Goto2};
    for (int k = 0; k < 4; ++k) {
        const Bitmap32& picture = images.images[kinds[k]];
        page.buttons[k] = Button{buttons[k]->visible != 0, buttons[k]->pos,
                                 Size{picture.width, picture.height}, buttons[k]->targetOffset};
    }

    std::string& out = m_body;
    page.objectStart[0] = out.size() - page.bodyBegin;
    out += beginObject(p);
    out += format("/Type /Page\r\n/Parent %d 0 R\r\n", 4);
    out += "/Resources <<\r\n/XObject <<\r\n";
    out += format("/im%d %d 0 R\r\n>>\r\n", i, p + 1);
    out += "/ProcSet [ /PDF /Text /ImageC ]\r\n>>\r\n";
    out += format("/Contents %d 0 R\r\n/Annots [ ", p + 2);
    for (int k = 4; k < 8; ++k)
        out += format("%d 0 R ", p + k);
    out += "]\r\n";
    out += kEndObject;

    page.objectStart[1] = out.size() - page.bodyBegin;
    out += beginObject(p + 1);
    out += "/Type /XObject\r\n/Subtype /Image\r\n";
    out += format("/Name /im%d\r\n", i);
    out += "/Filter [ /FlateDecode ]\r\n";
    out += format("/Width %d\r\n/Height %d\r\n", m_size.cx, m_size.cy);
    out += "/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n";
    out += format("/Length %d\r\n", int(imageStream.size()));
    out += "/Interpolate true\r\n>>\r\nstream\r\n";
    out.append(reinterpret_cast<const char*>(imageStream.data()), imageStream.size());
    out += "\r\nendstream\r\nendobj\r\n";

    page.objectStart[2] = out.size() - page.bodyBegin;
    const std::string content =
        format("q\r\n%d 0 0 %d %d %d cm\r\n/im%d Do\r\nQ", m_size.cx, m_size.cy, 0, 0, i);
    out += beginObject(p + 2);
    out += format("/Length %d\r\n>>\r\nstream\r\n", int(content.size()));
    out += content + "\r\nendstream\r\nendobj\r\n";

    page.bodyEnd = out.size();
    m_pages.push_back(std::move(page));
}

std::vector<uint8_t> PdfDocumentWriter::finish() const {
    const int n = pageCount();
    std::string out = "%PDF-1.2\r\n%\xE2\xE3\xE2\xE3\r\n\r\n";
    out.reserve(m_body.size() + 1024 + size_t(n) * 1024);
    std::vector<size_t> offsets;
    auto begin = [&](int number) {
        offsets.push_back(out.size());
        out += beginObject(number);
    };

    begin(1);
    out += "/Creator (Corvander Quib)\r\n";
    out += "/Title " + pdfLiteralString(m_title) + "\r\n";
    out += "/Producer (Corvander Quib PDF Export)\r\n";
    out += kEndObject;

    begin(2);
    out += "/Type /Catalog\r\n";
    out += format("/Outlines %d 0 R\r\n/Pages %d 0 R\r\n", 3, 4);
    out += kEndObject;

    begin(3);
    out += format("/Type /Outlines\r\n/Count %d\r\n", n);
    // An outline without entries has neither /First nor /Last.
    if (n > 0)
        out += format("/First %d 0 R\r\n/Last %d 0 R\r\n", pageObject(0) + 3, pageObject(n - 1) + 3);
    out += kEndObject;

    begin(4);
    out += "/Type /Pages\r\n/Kids [\r\n";
    for (int i = 0; i < n; ++i)
        out += format("%d 0 R\r\n", pageObject(i));
    out += format("]\r\n/Count %d\r\n", n);
    out += format("/MediaBox [ 0 0 %d %d ]\r\n/CropBox [ 0 0 %d %d ]\r\n", m_size.cx, m_size.cy, m_size.cx,
                  m_size.cy);
    out += kEndObject;

    int lastLinked = 0;
    for (int i = 0; i < n; ++i) {
        const Page& page = m_pages[size_t(i)];
        const int p = pageObject(i);
        const size_t base = out.size();
        out.append(m_body, page.bodyBegin, page.bodyEnd - page.bodyBegin);
        for (size_t start : page.objectStart)
            offsets.push_back(base + start);

        begin(p + 3);
        out += "/Title " + pdfLiteralString(page.title) + "\r\n";
        out += format("/Parent %d 0 R\r\n", 3);
        if (i > 0)
            out += format("/Prev %d 0 R\r\n", p - 5);
        if (i < n - 1)
            out += format("/Next %d 0 R\r\n", p + 11);
        out += format("/Dest [ %d 0 R /XYZ 0 0 0]\r\n", p);
        out += kEndObject;

        // Destination page index of each button, or -1 for a placeholder.
        int targets[4] = {-1, -1, -1, -1};
        if (page.buttons[0].visible && i > 0)
            targets[0] = lastLinked;
        if (page.buttons[1].visible && i < n - 1)
            targets[1] = i + 1;
        for (int k = 2; k < 4; ++k) {
            if (!page.buttons[k].visible)
                continue;
            if (const std::optional<int> target = gotoTarget(i, page.buttons[k].targetOffset, n))
                targets[k] = *target;
        }
        bool anyLink = false;
        for (int k = 0; k < 4; ++k) {
            begin(p + 4 + k);
            out += "/Type /Annot\r\n";
            if (targets[k] < 0) {
                out += "/Subtype /Text\r\n/Rect [ 0 0 0 0 ]\r\n/Contents ()\r\n";
            } else {
                const Button& b = page.buttons[k];
                // Positions come from files: computed wide so that no value can overflow.
                const long long x = b.pos.x, y = b.pos.y, h = m_size.cy;
                out += format("/Subtype /Link\r\n/Rect [ %lld %lld %lld %lld ]\r\n", x, h - y, x + b.size.cx,
                              h - y - b.size.cy);
                out += format("/Dest [ %d 0 R /XYZ 0 0 0]\r\n", pageObject(targets[k]));
                out += "/Border [ 0 0 0 ]\r\n";
                anyLink = true;
            }
            out += kEndObject;
        }
        if (anyLink)
            lastLinked = i;
    }

    const size_t xref = out.size();
    out += format("xref\r\n0 %d\r\n0000000000 65535 f\r\n", int(offsets.size()) + 1);
    for (size_t offset : offsets)
        out += format("%010llu 00000 n\r\n", static_cast<unsigned long long>(offset));
    out +=
        format("trailer\r\n<<\r\n/Size %d\r\n/Info 1 0 R\r\n/Root 2 0 R\r\n>>\r\n", int(offsets.size()) + 1);
    out += format("startxref\r\n%llu\r\n%%%%EOF\r\n", static_cast<unsigned long long>(xref));
    return std::vector<uint8_t>(out.begin(), out.end());
}

PdfBuildResult buildPdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress) {
    PdfBuildResult result;
    const Size size = doc.backgroundSize;
    PdfDocumentWriter writer(size, title);
    const int count = doc.frameCount();
    progress.setRange(0, count - 1);
    progress.setPosition(0);

    FrameComposer composer(doc, callouts);
    Bitmap24 picture;
    std::vector<uint8_t> rgb;
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        if (Status status = composer.compose(i, picture); !status) {
            result.ok = false;
            result.frameStatus = status;
            break;
        }
        rgb.resize(picture.pixels.size());
        for (size_t k = 0; k + 2 < rgb.size(); k += 3) {
            rgb[k] = picture.pixels[k + 2];
            rgb[k + 1] = picture.pixels[k + 1];
            rgb[k + 2] = picture.pixels[k];
        }
        const auto stream = zlibCompress(rgb.data(), rgb.size(), 9, pictureStreamBound(size.cx, size.cy));
        if (!stream) {
            result.ok = false;
            break;
        }
        writer.addPage(composer.frame(), doc.buttonImages, *stream);
        progress.setPosition(i + 1);
    }
    result.pagesWritten = writer.pageCount();
    result.bytes = writer.finish();
    return result;
}

ExportResult ExportPdf(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& chosenPath,
                       Progress& progress) {
    ExportResult result;
    result.path = withDefaultExtension(chosenPath, ".pdf");
    const Status cannotCreate = Status::failure(
        str::CannotCreateFile, std::string(stringText(str::CannotCreateFile)) + " " + chosenPath);
    AtomicFile file;
    if (!file.open(result.path)) {
        result.status = cannotCreate;
        return result;
    }
    PdfBuildResult built = buildPdfDocument(doc, callouts, exportFileName(chosenPath), progress);
    result.framesWritten = built.pagesWritten;
    result.cancelled = built.cancelled;
    if (!built.frameStatus.ok())
        result.status = built.frameStatus;
    else if (!built.ok || !file.commit(built.bytes))
        result.status = cannotCreate;
    return result;
}

}  // namespace quib

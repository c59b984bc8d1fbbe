#include "export/pdf_export.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "base/atomic_file.h"
#include "base/zlib_stream_compressor.h"
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

// Page pictures of screens: level 6 of the fast compressor is a few per cent larger than zlib's
// level 9 at a tenth of its time.
constexpr int kPageImageLevel = 6;

void swapRedAndBlue(Bitmap24& picture) {
    uint8_t* p = picture.pixels.data();
    for (size_t k = 0; k + 2 < picture.pixels.size(); k += 3)
        std::swap(p[k], p[k + 2]);
}

}  // namespace

PdfDocumentWriter::PdfDocumentWriter(Size pageSize, std::string title, int frameCount, Sink sink)
    : m_size(pageSize),
      m_title(std::move(title)),
      m_frameCount(std::max(frameCount, 0)),
      m_sink(std::move(sink)) {}

bool PdfDocumentWriter::put(const std::string& text) {
    if (m_ok && !m_sink(text))
        m_ok = false;
    m_written += text.size();
    return m_ok;
}

bool PdfDocumentWriter::put(int number, const std::string& object) {
    if (m_offsets.size() < size_t(number))
        m_offsets.resize(size_t(number));
    m_offsets[size_t(number - 1)] = m_written;
    return put(object);
}

std::string PdfDocumentWriter::outlineRoot(int pages) const {
    std::string out = beginObject(3);
    out += format("/Type /Outlines\r\n/Count %d\r\n", pages);
    // An outline without entries has neither /First nor /Last.
    if (pages > 0)
        out += format("/First %d 0 R\r\n/Last %d 0 R\r\n", pageObject(0) + 3, pageObject(pages - 1) + 3);
    return out + kEndObject;
}

std::string PdfDocumentWriter::pageTree(int pages) const {
    std::string out = beginObject(4);
    out += "/Type /Pages\r\n/Kids [\r\n";
    for (int i = 0; i < pages; ++i)
        out += format("%d 0 R\r\n", pageObject(i));
    out += format("]\r\n/Count %d\r\n", pages);
    out += format("/MediaBox [ 0 0 %d %d ]\r\n/CropBox [ 0 0 %d %d ]\r\n", m_size.cx, m_size.cy, m_size.cx,
                  m_size.cy);
    return out + kEndObject;
}

bool PdfDocumentWriter::begin() {
    if (m_begun)
        return m_ok;
    m_begun = true;
    put("%PDF-1.2\r\n%\xE2\xE3\xE2\xE3\r\n\r\n");
    std::string info = beginObject(1);
    info += "/Creator (Corvander Quib)\r\n";
    info += "/Title " + pdfLiteralString(m_title) + "\r\n";
    info += "/Producer (Corvander Quib PDF Export)\r\n";
    put(1, info + kEndObject);
    std::string catalog = beginObject(2);
    catalog += "/Type /Catalog\r\n";
    catalog += format("/Outlines %d 0 R\r\n/Pages %d 0 R\r\n", 3, 4);
    put(2, catalog + kEndObject);
    put(3, outlineRoot(m_frameCount));
    return put(4, pageTree(m_frameCount));
}

std::array<std::string, 5> PdfDocumentWriter::linkObjects(int i, int pages, int& lastLinked) const {
    const Page& page = m_pages[size_t(i)];
    const int p = pageObject(i);
    std::array<std::string, 5> objects;
    std::string& outline = objects[0];
    outline = beginObject(p + 3);
    outline += "/Title " + pdfLiteralString(page.title) + "\r\n";
    outline += format("/Parent %d 0 R\r\n", 3);
    if (i > 0)
        outline += format("/Prev %d 0 R\r\n", p - 5);
    if (i < pages - 1)
        outline += format("/Next %d 0 R\r\n", p + 11);
    outline += format("/Dest [ %d 0 R /XYZ 0 0 0]\r\n", p);
    outline += kEndObject;

    // Destination page index of each button, or -1 for a placeholder.
    int targets[4] = {-1, -1, -1, -1};
    if (page.buttons[0].visible && i > 0)
        targets[0] = lastLinked;
    if (page.buttons[1].visible && i < pages - 1)
        targets[1] = i + 1;
    for (int k = 2; k < 4; ++k) {
        if (!page.buttons[k].visible)
            continue;
        if (const std::optional<int> target = gotoTarget(i, page.buttons[k].targetOffset, pages))
            targets[k] = *target;
    }
    bool anyLink = false;
    for (int k = 0; k < 4; ++k) {
        std::string& out = objects[size_t(1 + k)];
        out = beginObject(p + 4 + k);
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
    return objects;
}

bool PdfDocumentWriter::addPage(const FrameElements& frame, const ButtonImageSet& images,
                                const std::vector<uint8_t>& imageStream) {
    if (!begin() || pageCount() >= m_frameCount)
        return m_ok = false;
    const int i = pageCount();
    const int p = pageObject(i);
    Page page;
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
    m_pages.push_back(std::move(page));

    std::string out = beginObject(p);
    out += format("/Type /Page\r\n/Parent %d 0 R\r\n", 4);
    out += "/Resources <<\r\n/XObject <<\r\n";
    out += format("/im%d %d 0 R\r\n>>\r\n", i, p + 1);
    out += "/ProcSet [ /PDF /Text /ImageC ]\r\n>>\r\n";
    out += format("/Contents %d 0 R\r\n/Annots [ ", p + 2);
    for (int k = 4; k < 8; ++k)
        out += format("%d 0 R ", p + k);
    out += "]\r\n";
    put(p, out + kEndObject);

    out = beginObject(p + 1);
    out += "/Type /XObject\r\n/Subtype /Image\r\n";
    out += format("/Name /im%d\r\n", i);
    out += "/Filter [ /FlateDecode ]\r\n";
    out += format("/Width %d\r\n/Height %d\r\n", m_size.cx, m_size.cy);
    out += "/BitsPerComponent 8\r\n/ColorSpace /DeviceRGB\r\n";
    out += format("/Length %d\r\n", int(imageStream.size()));
    out += "/Interpolate true\r\n>>\r\nstream\r\n";
    put(p + 1, out);
    put(std::string(reinterpret_cast<const char*>(imageStream.data()), imageStream.size()));
    put("\r\nendstream\r\nendobj\r\n");

    const std::string content =
        format("q\r\n%d 0 0 %d %d %d cm\r\n/im%d Do\r\nQ", m_size.cx, m_size.cy, 0, 0, i);
    out = beginObject(p + 2);
    out += format("/Length %d\r\n>>\r\nstream\r\n", int(content.size()));
    put(p + 2, out + content + "\r\nendstream\r\nendobj\r\n");

    // The links are written for the whole project; finish() replaces those that a document cut
    // short does not hold.
    const std::array<std::string, 5> links = linkObjects(i, m_frameCount, m_lastLinked);
    for (int k = 0; k < 5; ++k)
        put(p + 3 + k, links[size_t(k)]);
    return m_ok;
}

bool PdfDocumentWriter::finish() {
    begin();
    const int n = pageCount();
    if (n < m_frameCount) {
        put(3, outlineRoot(n));
        put(4, pageTree(n));
        int linkedWhole = 0, linkedShort = 0;
        for (int i = 0; i < n; ++i) {
            const std::array<std::string, 5> written = linkObjects(i, m_frameCount, linkedWhole);
            const std::array<std::string, 5> held = linkObjects(i, n, linkedShort);
            for (int k = 0; k < 5; ++k)
                if (held[size_t(k)] != written[size_t(k)])
                    put(pageObject(i) + 3 + k, held[size_t(k)]);
        }
        m_offsets.resize(size_t(4 + 8 * n));
    }

    const uint64_t xref = m_written;
    std::string out = format("xref\r\n0 %d\r\n0000000000 65535 f\r\n", int(m_offsets.size()) + 1);
    for (uint64_t offset : m_offsets)
        out += format("%010llu 00000 n\r\n", static_cast<unsigned long long>(offset));
    out += format("trailer\r\n<<\r\n/Size %d\r\n/Info 1 0 R\r\n/Root 2 0 R\r\n>>\r\n",
                  int(m_offsets.size()) + 1);
    out += format("startxref\r\n%llu\r\n%%%%EOF\r\n", static_cast<unsigned long long>(xref));
    return put(out);
}

PdfBuildResult writePdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress, const PdfDocumentWriter::Sink& sink) {
    PdfBuildResult result;
    const Size size = doc.backgroundSize;
    const int count = doc.frameCount();
    PdfDocumentWriter writer(size, title, count, sink);
    progress.setRange(0, count - 1);
    progress.setPosition(0);

    FrameComposer composer(doc, callouts);
    Bitmap24 picture;
    std::vector<uint8_t> stream;
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
        // The page wants red, green, blue: the picture is turned round where it lies (no second
        // frame-sized buffer) and turned back for the composer, which draws over it again.
        swapRedAndBlue(picture);
        const bool compressed = ZlibStreamCompressor::compress(picture.pixels.data(), picture.pixels.size(),
                                                               kPageImageLevel, stream);
        swapRedAndBlue(picture);
        if (!compressed || !writer.addPage(composer.frame(), doc.buttonImages, stream)) {
            result.ok = false;
            break;
        }
        progress.setPosition(i + 1);
    }
    result.pagesWritten = writer.pageCount();
    if (!writer.finish())
        result.ok = false;
    return result;
}

PdfBuildResult buildPdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress) {
    std::vector<uint8_t> bytes;
    PdfBuildResult result = writePdfDocument(doc, callouts, title, progress, [&bytes](std::string_view text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return true;
    });
    result.bytes = std::move(bytes);
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
    const PdfBuildResult built =
        writePdfDocument(doc, callouts, exportFileName(chosenPath), progress,
                         [&file](std::string_view text) { return file.write(text); });
    result.framesWritten = built.pagesWritten;
    result.cancelled = built.cancelled;
    if (!built.frameStatus.ok()) {
        file.discard();
        result.status = built.frameStatus;
    } else if (!built.ok || !file.commit()) {
        file.discard();
        result.status = cannotCreate;
    }
    return result;
}

}  // namespace quib

#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "base/progress.h"
#include "export/export_result.h"
#include "model/quib_doc.h"

namespace quib {

class CalloutLibrary;

// The PDF 1.2 document of an export, one page per frame, written with a fixed object layout:
// 1 information, 2 catalog, 3 outline root, 4 page tree, then eight objects per frame i from
// p = 5 + 8i: page, image, content stream, outline entry, and the Previous, Next, Goto 1 and
// Goto 2 annotations (links, or empty placeholders). Objects go to the sink in number order as
// each page is added, so only one page is held at a time. A document finished before all its
// frames gets new versions of the outline, the page tree and the links that named the missing
// pages, appended after them: the cross-reference table points at those, so every page, link
// and outline entry names only the pages the document holds.
class PdfDocumentWriter {
public:
    // Receives the document's bytes in order; false when they could not be kept.
    using Sink = std::function<bool(std::string_view)>;

    PdfDocumentWriter(Size pageSize, std::string title, int frameCount, Sink sink);

    // Adds the page of the next frame: the frame's elements as selected (buttons and title), the
    // button pictures whose sizes make the link rectangles, and the zlib stream of its
    // top-down red-green-blue canvas picture. False once the sink failed.
    bool addPage(const FrameElements& frame, const ButtonImageSet& images,
                 const std::vector<uint8_t>& imageStream);
    int pageCount() const { return int(m_pages.size()); }

    // The corrections of a document cut short, the cross-reference table and the trailer.
    bool finish();

private:
    struct Button {
        bool visible = false;
        Point pos;
        Size size;
        int32_t targetOffset = 0;
    };
    struct Page {
        std::string title;
        Button buttons[4];  // Previous, Next, Goto 1, Goto 2
    };

    bool begin();
    bool put(int number, const std::string& object);
    bool put(const std::string& text);
    std::string outlineRoot(int pages) const;
    std::string pageTree(int pages) const;
    // The outline entry and the four annotations of page i in a document of `pages` pages;
    // lastLinked is the last earlier page with a link, updated for the next page.
    std::array<std::string, 5> linkObjects(int i, int pages, int& lastLinked) const;

    Size m_size;
    std::string m_title;
    int m_frameCount;
    Sink m_sink;
    bool m_begun = false;
    bool m_ok = true;
    uint64_t m_written = 0;
    std::vector<uint64_t> m_offsets;  // per object number - 1
    std::vector<Page> m_pages;
    int m_lastLinked = 0;
};

struct PdfBuildResult {
    std::vector<uint8_t> bytes;  // buildPdfDocument only
    int pagesWritten = 0;
    bool cancelled = false;
    bool ok = true;  // false when a picture could not be compressed, the sink failed or a frame is damaged
    Status frameStatus;  // the message of a damaged frame
};

// Composes every frame into a page (stopping at a cancel, asked before each frame) and writes
// the document to sink as it goes. The project is only read.
PdfBuildResult writePdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress, const PdfDocumentWriter::Sink& sink);
// The same document held in memory.
PdfBuildResult buildPdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress);

// The export command's work: ".pdf" is appended to a chosen path whose file name has no
// extension, the document is titled with the chosen file name, and the file is replaced only when
// complete. Failure: "Impossibile creare il file" and the chosen path, or a damaged frame's message.
ExportResult ExportPdf(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& chosenPath,
                       Progress& progress);

}  // namespace quib

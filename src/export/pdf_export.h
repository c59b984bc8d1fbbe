#pragma once

#include <cstdint>
#include <string>
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
// Goto 2 annotations (links, or empty placeholders). The page tree, the outline and every link
// name only the pages the document holds, so a document finished early is still whole.
class PdfDocumentWriter {
public:
    PdfDocumentWriter(Size pageSize, std::string title);

    // Adds the page of the next frame: the frame's elements as selected (buttons and title), the
    // button pictures whose sizes make the link rectangles, and the zlib stream of its
    // top-down red-green-blue canvas picture.
    void addPage(const FrameElements& frame, const ButtonImageSet& images,
                 const std::vector<uint8_t>& imageStream);
    int pageCount() const { return int(m_pages.size()); }

    // The whole file: header, objects in number order, cross-reference table and trailer.
    std::vector<uint8_t> finish() const;

private:
    struct Button {
        bool visible = false;
        Point pos;
        Size size;
        int32_t targetOffset = 0;
    };
    struct Page {
        size_t bodyBegin = 0;
        size_t bodyEnd = 0;
        size_t objectStart[3] = {};  // page, image and content, relative to bodyBegin
        std::string title;
        Button buttons[4];  // Previous, Next, Goto 1, Goto 2
    };

    Size m_size;
    std::string m_title;
    std::string m_body;  // the page, image and content objects of every page, in order
    std::vector<Page> m_pages;
};

struct PdfBuildResult {
    std::vector<uint8_t> bytes;
    int pagesWritten = 0;
    bool cancelled = false;
    bool ok = true;  // false when a picture could not be compressed or a frame is damaged
    Status frameStatus;  // the message of a damaged frame
};

// Composes every frame into a page (stopping at a cancel, asked before each frame) and returns
// the document. The project is only read.
PdfBuildResult buildPdfDocument(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& title,
                                Progress& progress);

// The export command's work: ".pdf" is appended to a chosen path whose file name has no
// extension, the document is titled with the chosen file name, and the file is replaced only when
// complete. Failure: "Impossibile creare il file" and the chosen path, or a damaged frame's message.
ExportResult ExportPdf(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& chosenPath,
                       Progress& progress);

}  // namespace quib

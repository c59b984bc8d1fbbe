#pragma once

#include <string>
#include <vector>

#include "base/progress.h"
#include "export/export_result.h"
#include "imagefilters/filter_table.h"
#include "model/quib_doc.h"

namespace quib {

class CalloutLibrary;

// Where an HTML export writes: the page, and one image per frame named base + index + "." + ext.
struct HtmlExportNames {
    std::string pagePath;
    std::string imageBase;
    std::string imageExtension;  // the filter's first extension, as the plug-in spells it
    std::string imagePath(int index) const;
};

// ".htm" is appended to a page name without extension; the images are named after the page.
HtmlExportNames htmlExportNames(const std::string& pageName, const FilterCaps& caps);

// Filter table indices of the types the export can write (write capability bit 0), in table order.
std::vector<int> htmlExportFilterIndices(const FilterTable& filters);
// The text a list of types shows for a record: its description up to the first '|'.
std::string filterDisplayName(const FilterCaps& caps);

inline constexpr const char* kHtmlPageStart = "<html>\r\n<head></head>\r\n<body>\r\n";
inline constexpr const char* kHtmlPageEnd = "</body>\r\n</html>\r\n";

// The page lines of frame index of frameCount: image map with one area per shown button (Previous
// to lastLinkedFrame, Next to index + 1, Goto to its target, none for a target past the last
// frame) and the image line, which carries the anchor id "link<index>". *linked tells whether any
// area was written. Lines end with CR LF.
std::string htmlFrameLines(int index, int frameCount, const FrameElements& frame,
                           const ButtonImageSet& images, int lastLinkedFrame,
                           const std::string& imageFileName, bool* linked = nullptr);

// Writes the page and one composed picture per frame (text boxes with callouts) through the filter
// at filterIndex. Failures carry "Impossibile creare il file" and the path, or the message of a
// damaged frame; the page is written whole even then (with the frames done). The project is only read.
ExportResult ExportHtml(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& pageName,
                        const FilterTable& filters, int filterIndex, Progress& progress);

}  // namespace quib

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/progress.h"
#include "imagefilters/filter_table.h"
#include "model/frame_composition.h"
#include "model/quib_doc.h"
#include "support/bytes_and_pictures.h"
#include "support/files_and_commands.h"

namespace quib::test {

// A project of count frames of cx x cy (canvas the same size) without any element shown; frame k
// is a pattern of its own. Button pictures are opaque solid blocks: Previous and Next 60 x 24,
// Goto 1 and Goto 2 40 x 20.
void makeProject(CQuibDoc& doc, int cx, int cy, int count);
// The picture frame k of makeProject holds.
Bitmap24 framePattern(int cx, int cy, int k);
// Changes a stored frame's elements (and reselects the current frame so the working copy follows).
void editFrame(CQuibDoc& doc, int index, void (*edit)(FrameElements&));

// Frame index composed as the exports write it: over white, with the application's callouts
// unless others are given.
Bitmap24 composedFrame(const CQuibDoc& doc, int index, uint32_t flags = ComposeAll,
                       const CalloutLibrary& callouts = applicationCalloutsOrNone());

// The shipped image plug-ins (PNG, JPEG, BMP, GIF) of the build tree.
FilterTable& shippedFilters();
int filterIndexFor(const FilterTable& table, const std::string& extension);

// When qpdf is installed, checks the document with it (the check fails the test on any error or
// warning); without qpdf nothing is checked.
void expectQpdfAccepts(const std::string& pdf);

// Cross-reference entries of a PDF: object number to offset. Fails the test on malformed tables
// (every entry must be 20 bytes).
std::map<int, size_t> pdfXref(const std::string& pdf);
// The text of an object, from "n 0 obj" to the end of its "endobj" line.
std::string pdfObject(const std::string& pdf, int number);

}  // namespace quib::test

// Frame elements pasted from the clipboard into a small project, then copied again.
#include "model/frame_clipboard.h"
#include "model/synthetic_project.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CQuibDoc doc;
    if (!buildSyntheticProject(doc, 16, 12, 2))
        return 0;
    doc.SelectFrame(1);
    if (const uint32_t mask = PasteSelItemsFromFile(doc, std::vector<uint8_t>(data, data + size)))
        (void)CopySelItemsToClipboardFile(doc, mask);
    return 0;
}

// Frames pasted from the clipboard into a small project.
#include "model/frame_clipboard.h"
#include "model/synthetic_project.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CQuibDoc doc;
    if (!buildSyntheticProject(doc, 16, 12, 2))
        return 0;
    doc.SelectFrame(1);
    (void)PasteFramesFromFile(doc, std::vector<uint8_t>(data, data + size), 1);
    return 0;
}

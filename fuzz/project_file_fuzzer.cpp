// Project files of both variants: load, then walk every frame as the outputs do, and save.
#include "base/progress.h"
#include "model/frame_composer.h"
#include "model/project_file.h"
#include "raster/gui_application.h"
#include "shapes/default_callouts.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    raster::ensureGuiApplication();
    static const CalloutLibrary callouts = defaultCalloutLibrary();
    CQuibDoc doc;
    NullProgress progress;
    if (!ProjectFile::load(std::vector<uint8_t>(data, data + size), doc, "/p/a.qbk", progress))
        return 0;
    FrameComposer composer(doc, callouts);
    Bitmap24 picture;
    for (int i = 0; i < doc.frameCount(); ++i)
        (void)composer.compose(i, picture);
    doc.compressedSave = true;
    (void)ProjectFile::store(doc, "/p/b.qbk", progress);
    return 0;
}

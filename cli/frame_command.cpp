#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "base/progress.h"
#include "callout_source.h"
#include "cli_command.h"
#include "model/frame_composer.h"
#include "model/project_storage.h"
#include "raster/gui_application.h"
#include "raster/png_file.h"
#include "shapes/callout_library.h"

namespace quib::cli {

namespace {

int runFrame(const std::vector<std::string>& args);

const Command kFrame{"frame", "frame FILE.qbk INDICE OUT.png  (INDICE da 0)", runFrame};

int runFrame(const std::vector<std::string>& args) {
    if (args.size() != 3)
        return usage(kFrame);
    int index = -1;
    const std::string& indexText = args[1];
    const auto [end, ec] = std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
    if (ec != std::errc() || end != indexText.data() + indexText.size() || index < 0)
        return usage(kFrame);

    raster::ensureGuiApplication();
    CQuibDoc doc;
    NullProgress progress;
    if (Status status = LoadProject(args[0], doc, progress); !status)
        return fail(status.message());
    if (!doc.isValidIndex(index))
        return fail("il progetto non ha il frame " + indexText +
                    " (frames: " + std::to_string(doc.frameCount()) + ")");

    CalloutLibrary library;
    loadCalloutLibrary(library);

    if (doc.backgroundSize.isEmpty() || !pictureBytes(doc.backgroundSize.cx, doc.backgroundSize.cy, 3))
        return fail("il progetto non ha una dimensione valida");
    Bitmap24 picture;
    FrameComposer composer(doc, library);
    if (Status status = composer.compose(index, picture); !status)
        return fail(status.message());
    const QImage image(picture.pixels.data(), picture.width, picture.height, qsizetype(picture.stride()),
                       QImage::Format_BGR888);
    if (!raster::savePngFile(image, args[2]))
        return fail("Impossibile creare il file: " + args[2]);
    return 0;
}

}  // namespace

std::vector<Command> frameCommands() {
    return {kFrame};
}

}  // namespace quib::cli

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
#include "cli_command.h"
#include "model/frame_composition.h"
#include "model/project_storage.h"
#include "raster/gui_application.h"
#include "shapes/callout_library.h"

namespace quib::cli {

namespace {

int runFrame(const std::vector<std::string>& args);

const Command kFrame{"frame", "frame FILE.qbk INDICE OUT.png  (INDICE da 0)", runFrame};

// Where the callout library is looked for, first found wins: the user's data folder, the data
// folder beside the program (installed or in the build tree), then the build and install folders.
std::vector<QString> calloutLibraryCandidates() {
    QCoreApplication::setOrganizationName(QStringLiteral("Corvander"));
    QCoreApplication::setApplicationName(QStringLiteral("Quib"));
    std::vector<QString> folders;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!user.isEmpty())
        folders.push_back(user);
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty())
        folders.push_back(QDir(programDir).filePath(QStringLiteral("../share/quib")));
    folders.push_back(QStringLiteral(QUIB_CLI_BUILD_DATA_DIR));
    folders.push_back(QStringLiteral(QUIB_CLI_INSTALL_DATA_DIR));
    std::vector<QString> files;
    for (const QString& folder : folders)
        files.push_back(QDir::cleanPath(QDir(folder).filePath(QString::fromLatin1(kCalloutLibraryFileName))));
    return files;
}

bool loadCalloutLibrary(CalloutLibrary& library) {
    for (const QString& path : calloutLibraryCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        bool found = false;
        Status status = library.LoadLibrary(path.toStdString(), &found);
        if (found && status)
            return true;
        if (found)
            std::cerr << "quib-cli: " << status.message() << ": " << path.toStdString() << '\n';
    }
    return false;
}

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
    if (!doc.isValidIndex(index) || !doc.SelectFrame(index, true))
        return fail("il progetto non ha il frame " + indexText +
                    " (frames: " + std::to_string(doc.frameCount()) + ")");

    CalloutLibrary library;
    if (!loadCalloutLibrary(library))
        std::cerr << "quib-cli: " << kCalloutLibraryFileName
                  << " non trovato: i box di testo non sono disegnati\n";

    const Bitmap24 picture = ComposeFramePicture(doc, library, ComposeAll);
    if (picture.isNull())
        return fail("il progetto non ha una dimensione valida");
    const QImage image(picture.pixels.data(), picture.width, picture.height, qsizetype(picture.stride()),
                       QImage::Format_BGR888);
    if (!image.save(QString::fromStdString(args[2]), "PNG"))
        return fail("Impossibile creare il file: " + args[2]);
    return 0;
}

}  // namespace

std::vector<Command> frameCommands() {
    return {kFrame};
}

}  // namespace quib::cli

#include "callout_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <iostream>
#include <vector>

namespace quib::cli {

namespace {

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

}  // namespace

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
    std::cerr << "quib-cli: " << kCalloutLibraryFileName
              << " non trovato: le caselle di testo non saranno disegnate\n";
    return false;
}

}  // namespace quib::cli

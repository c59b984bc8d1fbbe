#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>

#include <cstdio>
#include <memory>

#include "appended_movie.h"
#include "frame_dump.h"
#include "movie_decoder.h"
#include "player_window.h"
#include "raster/png_file.h"

using namespace quib::player;

namespace {

constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "Uso:\n"
    "  quib-player FILMATO.swf\n"
    "  quib-player --dump-frame N [FILMATO.swf] IMMAGINE.png\n"
    "FILMATO può essere anche un programma con un filmato accodato.\n"
    "Senza FILMATO riproduce il filmato accodato al programma stesso.\n";

void printError(const QString& message) {
    std::fprintf(stderr, "quib-player: %s\n", message.toLocal8Bit().constData());
}

QString ownExecutable() {
    return QStringLiteral("/proc/self/exe");
}

// Loads the named movie, or the one appended to this program when path is empty. A named
// self-running program is read as it reads itself. found is cleared when there is no movie.
bool loadMovie(const QString& path, MovieData& movie, QString& error, bool& found) {
    found = true;
    if (!path.isEmpty()) {
        AppendedMovieResult appended = readAppendedMovie(path);
        if (!appended.found)
            return loadMovieFile(path, movie, error);
        if (!appended.error.isEmpty()) {
            error = appended.error;
            return false;
        }
        return loadMovieBytes(appended.movie, movie, error);
    }
    AppendedMovieResult appended = readAppendedMovie(ownExecutable());
    if (!appended.error.isEmpty()) {
        error = appended.error;
        return false;
    }
    if (!appended.found) {
        found = false;
        return false;
    }
    return loadMovieBytes(appended.movie, movie, error);
}

int dumpFrame(const QStringList& args) {
    // args: N [movie] out.png
    if (args.size() != 2 && args.size() != 3) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    bool numberOk = false;
    const int frame = args[0].toInt(&numberOk);
    if (!numberOk || frame < 0) {
        printError(QStringLiteral("numero di frame non valido: %1").arg(args[0]));
        return ExitUsage;
    }
    const QString moviePath = args.size() == 3 ? args[1] : QString();
    const QString outPath = args.last();

    auto movie = std::make_shared<MovieData>();
    QString error;
    bool found = true;
    if (!loadMovie(moviePath, *movie, error, found)) {
        if (!found) {
            std::fputs(Usage, stderr);
            return ExitUsage;
        }
        printError(error);
        return ExitError;
    }
    QImage image = renderFrameImage(std::move(movie), frame, error);
    if (image.isNull()) {
        printError(error);
        return ExitError;
    }
    if (!quib::raster::savePngFile(image, QFile::encodeName(outPath).toStdString())) {
        printError(QStringLiteral("Impossibile creare il file %1").arg(outPath));
        return ExitError;
    }
    return 0;
}

int play(int argc, char** argv, const QString& moviePath) {
    auto movie = std::make_shared<MovieData>();
    QString error;
    bool found = true;
    const bool loaded = loadMovie(moviePath, *movie, error, found);
    if (!loaded && !found) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quib-player"));
    if (!loaded) {
        printError(error);
        QMessageBox::critical(nullptr, QStringLiteral("quib-player"), error);
        return ExitError;
    }
    PlayerWindow window(std::move(movie));
    window.setWindowTitle(moviePath.isEmpty() ? QStringLiteral("quib-player") : moviePath);
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (!args.isEmpty() && args[0] == QLatin1String("--dump-frame")) {
        // Drawing into a picture needs no display.
        QCoreApplication app(argc, argv);
        return dumpFrame(args.mid(1));
    }
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (args.size() > 1 || (!args.isEmpty() && args[0].startsWith(QLatin1String("-")))) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }
    return play(argc, argv, args.isEmpty() ? QString() : args[0]);
}

#include <QApplication>
#include <QMessageBox>

#include <filesystem>
#include <system_error>

#include "player_program.h"
#include "player_window.h"

using namespace quib::player;

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error)
        self = "/proc/self/exe";
    return runPlayerProgram(args, "quib-player", self, [&](const MovieToPlay& toPlay) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("quib-player"));
        if (!toPlay.movie) {
            QMessageBox::critical(nullptr, QStringLiteral("quib-player"),
                                  QString::fromStdString(toPlay.error));
            return ExitError;
        }
        PlayerWindow window(toPlay.movie);
        window.setWindowTitle(QString::fromStdString(toPlay.title));
        window.show();
        return app.exec();
    });
}

#include <QApplication>

#include "ui/quib_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    quib::CQuibApp app(arguments);
    if (!app.initInstance())
        return 1;
    const int result = application.exec();
    app.exitInstance();
    return result;
}

#pragma once

#include <QApplication>

// The one application object of a widget benchmark, on the offscreen platform.
inline QApplication& offscreenApplication() {
    static int argc = 1;
    static char name[] = "quib_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

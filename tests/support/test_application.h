#pragma once

#include <QApplication>

namespace quib::test {

// The program's QApplication, made on first use and never destroyed: tearing it down after Qt's own
// globals crashes at exit.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "quib_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

}  // namespace quib::test

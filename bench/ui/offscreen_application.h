#pragma once

#include <QApplication>

// The one application object of a widget benchmark, on the offscreen platform. It is made by the
// benchmark's main (offscreen_main.cpp) and lives on its stack, so it goes before the static
// objects of Qt that it uses while shutting down.
inline QApplication& offscreenApplication() {
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

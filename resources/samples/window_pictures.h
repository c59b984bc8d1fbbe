#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <map>

namespace quib {

// A picture of one of the program's windows, with the places a tutorial points at (in the
// picture's own coordinates, title bar included).
struct WindowPicture {
    QImage image;
    std::map<QString, QPoint> spots;
    QPoint spot(const QString& name) const;
};

// Opens the program's own windows offscreen, one at a time, and grabs them with a title bar of
// their caption drawn on top: "main" (no project), "project" (a project open with the panel),
// "wizard" (the new project wizard), "wizard-rectangle" (the same
// with a rectangle chosen), "capture" (the capture window), "settings" (the project
// settings) and "render" (the render progress). Needs a QApplication.
std::map<QString, WindowPicture> grabProgramWindows();

}  // namespace quib

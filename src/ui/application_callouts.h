#pragma once

#include <QStringList>

namespace quib {

// Finds the callout library (findCalloutLibrary) and makes it the library text boxes are drawn
// with. Returns the messages about library files that could not be read, each naming its file.
QStringList loadApplicationCalloutLibrary();

// Makes the built-in callouts the library when none was set yet.
void useBuiltInCalloutsUntilLoaded();

}  // namespace quib

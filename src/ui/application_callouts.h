#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class QWidget;

namespace quib {

class CalloutLibrary;
class CQuibDoc;

// Finds the callout library (findCalloutLibrary) and makes it the library text boxes are drawn
// with. Returns the messages about library files that could not be read, each naming its file.
QStringList loadApplicationCalloutLibrary();

// Makes the built-in callouts the library when none was set yet.
void useBuiltInCalloutsUntilLoaded();

// The application's library, made the one text boxes are drawn with, for the callout editor to
// change.
CalloutLibrary& editableApplicationCalloutLibrary();

// Where the callout editor writes the library: the user's own copy, never the shipped one.
QString userCalloutLibraryPath();

// Tells every open project to draw its text boxes again.
void redrawOpenProjects();

// Frames of doc whose text boxes name oldName take newName, as one step of undo; how many did.
int renameCalloutInFrames(CQuibDoc& doc, const std::string& oldName, const std::string& newName);

// The callout editor over the application's library, starting at the callout named current;
// the chosen callout's index. Writes the library and redraws the open projects after a change.
std::optional<size_t> runCalloutEditor(QWidget* parent, const std::string& current);

}  // namespace quib

#pragma once

#include <QString>
#include <QStringList>

namespace quib {

// The whole command line as one text: the program path (quoted when it holds a space) followed
// by the arguments joined with single spaces.
QString joinCommandLine(const QStringList& arguments);

// The project file named on the command line: everything after the program path, so a name with
// spaces needs no quotes. Empty when nothing follows the program.
QString fileNameFromCommandLine(const QString& commandLine);

}  // namespace quib

#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace quib {

struct ExportResult;

// Opens path with the desktop's program for it (the browser for a page), or starts it when start
// is set. When nothing can open it, report gets a message that names the file: the opener missing,
// failing, or the file gone. opener: the desktop's opener program.
void openWithDesktop(const QString& path, bool start, const std::function<void(const QString&)>& report,
                     const QString& opener = QStringLiteral("xdg-open"));

// The message when nothing could open path.
QString cannotOpenMessage(const QString& path);

// After an output is written: the status bar of parent's main window says what was written, and a
// small box that does not wait offers to open it or its folder.
void announceWrittenOutput(const ExportResult& result, bool start, QWidget* parent,
                           const std::function<void(const QString&)>& report);

}  // namespace quib

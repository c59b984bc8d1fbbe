#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quib {

// A save-file dialog that asks before overwriting: name filters, the extension added to a name
// typed without one, and the initial name. Returns the chosen path, or an empty text.
QString askSaveFileName(QWidget* parent, const QStringList& filters, const QString& suffix,
                        const QString& initialName);

}  // namespace quib

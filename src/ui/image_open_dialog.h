#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quib {

class FilterTable;

// Asks for a picture to load among the readable types of table, starting in folder. Returns the
// chosen path (empty when cancelled); chosenFolder receives its folder, which callers remember.
// A name whose type no plug-in reads is refused and the dialog opens again.
QString askImageFileName(QWidget* parent, const FilterTable& table, const QString& title,
                         const QString& folder, const QString& initialName = QString(),
                         QString* chosenFolder = nullptr);

// Several pictures at once, in the order the user chose them; empty when cancelled.
QStringList askImageFileNames(QWidget* parent, const FilterTable& table, const QString& title,
                              const QString& folder);

}  // namespace quib

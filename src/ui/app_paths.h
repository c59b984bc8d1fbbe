#pragma once

#include <QString>

namespace quib {

// The user's data folder, where written data (templates, libraries) goes.
QString userDataFolder();
// The installed data folder beside the program: <prefix>/share/quib, also in the build tree.
QString installedDataFolder();
// A shipped file by its relative path: the user's copy first, then the installed one; empty when
// neither exists.
QString findDataFile(const QString& relativePath);

}  // namespace quib

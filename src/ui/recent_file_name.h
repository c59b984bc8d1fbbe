#pragma once

#include <QString>

namespace quib {

// A path shortened for the recent-projects menu: whole when it fits in maxLength characters,
// else its first folder, "...", and as many trailing folders as fit before the file name;
// the file name alone when even that does not fit.
QString recentFileDisplayName(const QString& path, int maxLength);

}  // namespace quib

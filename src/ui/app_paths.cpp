#include "app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quib {

QString userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString installedDataFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quib"));
}

QString findDataFile(const QString& relativePath) {
    for (const QString& folder : {userDataFolder(), installedDataFolder()}) {
        const QString candidate = folder + QLatin1Char('/') + relativePath;
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

}  // namespace quib

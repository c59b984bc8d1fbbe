#include "recent_file_name.h"

#include <QDir>
#include <QStringList>

namespace quib {

QString recentFileDisplayName(const QString& path, int maxLength) {
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() <= maxLength)
        return native;
    const QChar sep = QDir::separator();
    QStringList parts = native.split(sep);
    const QString fileName = parts.takeLast();
    if (parts.isEmpty())
        return fileName;
    const QString head = parts.takeFirst() + sep + QStringLiteral("...");
    QString tail = sep + fileName;
    if (head.size() + tail.size() > maxLength)
        return fileName;
    while (!parts.isEmpty() && head.size() + 1 + parts.last().size() + tail.size() <= maxLength)
        tail = sep + parts.takeLast() + tail;
    return head + tail;
}

}  // namespace quib

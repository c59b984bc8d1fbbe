#include "output_settings.h"

#include <algorithm>

namespace quib {

namespace {
bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}
}  // namespace

QString shortenedOutputName(const QString& name, const QString& projectDir) {
    if (!projectDir.isEmpty() && name.startsWith(projectDir))
        return name.mid(projectDir.size());
    return name;
}

QString replaceExtension(const QString& name, const QString& type) {
    // Only a dot in the file name counts, so that a dotted folder keeps its name.
    const qsizetype nameStart =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < nameStart ? name : name.left(dot);
    return type.isEmpty() ? base : base + QLatin1Char('.') + type;
}

QString resolveOutputName(const QString& name, const QString& projectDir) {
    if ((!name.isEmpty() && isSeparator(name[0])) || (name.size() > 1 && name[1] == QLatin1Char(':')))
        return name;
    // Keep the separator the folder already uses, so a folder written with "\" stays consistent.
    const QChar separator = projectDir.contains(QLatin1Char('\\')) && !projectDir.contains(QLatin1Char('/'))
                                ? QLatin1Char('\\')
                                : QLatin1Char('/');
    const bool rooted = !projectDir.isEmpty() && isSeparator(projectDir[0]);
    QString folder = projectDir;
    if (!folder.isEmpty() && isSeparator(folder.back()))
        folder.chop(1);
    QString rest = name;
    while (rest.size() >= 3 && rest.startsWith(QStringLiteral("..")) && isSeparator(rest[2])) {
        rest = rest.mid(3);
        qsizetype cut = folder.size() - 1;
        while (cut >= 0 && !isSeparator(folder[cut]))
            --cut;
        folder = cut < 0 ? QString() : folder.left(cut);
    }
    // The file system root is never climbed out of.
    if (folder.isEmpty())
        return rooted ? separator + rest : rest;
    return folder + separator + rest;
}

}  // namespace quib

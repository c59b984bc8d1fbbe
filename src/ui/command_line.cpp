#include "command_line.h"

namespace quib {

QString joinCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return QString();
    QString program = arguments.first();
    if (program.contains(QLatin1Char(' ')))
        program = QLatin1Char('"') + program + QLatin1Char('"');
    QStringList parts = arguments.mid(1);
    parts.prepend(program);
    return parts.join(QLatin1Char(' '));
}

QString fileNameFromCommandLine(const QString& commandLine) {
    if (commandLine.isEmpty())
        return QString();
    if (commandLine.startsWith(QLatin1Char('"'))) {
        qsizetype close = commandLine.indexOf(QLatin1Char('"'), 1);
        if (close < 0)
            return QString();
        return commandLine.mid(close + 2);
    }
    qsizetype space = commandLine.indexOf(QLatin1Char(' '), 1);
    if (space < 0)
        return QString();
    return commandLine.mid(space + 1);
}

}  // namespace quib

#include "ui_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/test_application.h"

namespace quib::test {

void ensureApplication() {
    if (QApplication::instance())
        return;
    static QTemporaryDir home;
    const QByteArray base = home.path().toUtf8();
    qputenv("HOME", base);
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("XDG_CACHE_HOME", base + "/cache");
    qputenv("XDG_RUNTIME_DIR", base + "/runtime");
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application();
}

TempSettings::TempSettings() {
    m_path = m_dir.path() + QStringLiteral("/Quib.conf");
    m_store = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

std::unique_ptr<QSettings> TempSettings::takeStore() {
    return std::move(m_store);
}

std::unique_ptr<QSettings> TempSettings::reopen() const {
    if (m_store)
        m_store->sync();
    return std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

QString makeFile(const QString& folder, const QString& name) {
    QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("QBK");
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace quib::test

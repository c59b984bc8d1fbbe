#include "app_settings.h"

#include <algorithm>

#include <QSettings>

namespace quib {

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kRecent = QStringLiteral("Recent File List");
const QString kWorkspace = QStringLiteral("Workspace");
const QString kLastProject = QStringLiteral("Last Project Path");
const QString kRestoreToken = QStringLiteral("Portal Restore Token");

int readInt(QSettings& s, const char* name, int fallback) {
    bool ok = false;
    int value = s.value(QLatin1String(name)).toInt(&ok);
    return ok ? value : fallback;
}

QString readText(QSettings& s, const char* name, const QString& fallback) {
    QVariant value = s.value(QLatin1String(name));
    return value.isValid() ? value.toString() : fallback;
}
}  // namespace

AppSettings AppSettings::defaults(const QString& templatesFolder) {
    AppSettings settings;
    settings.lastTemplateLoadDir = templatesFolder;
    return settings;
}

void AppSettings::load(QSettings& store) {
    store.beginGroup(kSettings);
    mruSize = readInt(store, "MRU Size", mruSize);
    reloadLastProject = readInt(store, "Reload last project on startup", reloadLastProject) != 0;
    showPropertiesBar = readInt(store, "Show properties bar", showPropertiesBar) != 0;
    thumbCx = readInt(store, "Thumb cx", thumbCx);
    thumbCy = readInt(store, "Thumb cy", thumbCy);
    undoLevels = readInt(store, "Undo Levels", undoLevels);
    undoMemoryMb = readInt(store, "Undo Memory MB", undoMemoryMb);
    lastTemplateLoadDir = readText(store, "LastTemplateLoadDir", lastTemplateLoadDir);
    lastImageLoadDir = readText(store, "LastImageLoadDir", lastImageLoadDir);
    lastHtmlExportName = readText(store, "LastHtmlExportName", lastHtmlExportName);
    lastPdfExportName = readText(store, "LastPdfExportName", lastPdfExportName);
    lastBackgroundFileName = readText(store, "Last Background File Name", lastBackgroundFileName);
    previousExportFilter = readInt(store, "Previous export filter", previousExportFilter);
    previousTimedCaptureFrameRate =
        readInt(store, "Previous timed capture frame rate", previousTimedCaptureFrameRate);
    captureWizard.regionMode =
        std::clamp(readInt(store, "Previous capture region", captureWizard.regionMode), 0, 2);
    captureWizard.startCapturing =
        readInt(store, "Previous start capturing", captureWizard.startCapturing) != 0;
    captureWizard.hideMainWindow =
        readInt(store, "Previous hide main window", captureWizard.hideMainWindow) != 0;
    captureWizard.timedCapture = readInt(store, "Previous timed capture", captureWizard.timedCapture) != 0;
    captureWizard.clickCapture = readInt(store, "Previous click capture", captureWizard.clickCapture) != 0;
    {
        const QStringList parts = readText(store, "Previous capture rectangle", QString())
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        int v[4] = {};
        bool ok = parts.size() == 4;
        for (int i = 0; ok && i < 4; ++i)
            v[i] = parts[i].toInt(&ok);
        if (ok && v[2] > 0 && v[3] > 0 && v[2] <= 16384 && v[3] <= 16384)
            captureWizard.rectangle = QRect(v[0], v[1], v[2], v[3]);
    }
    propertiesPanelViewMode = readInt(store, "Properties Panel View Mode", propertiesPanelViewMode);
    previousBackgroundMode = readInt(store, "Previous Background Mode", previousBackgroundMode);
    previousBackgroundCx = readInt(store, "Previous Background cx", previousBackgroundCx);
    previousBackgroundCy = readInt(store, "Previous Background cy", previousBackgroundCy);
    previousBackgroundFillColor =
        readInt(store, "Previous Background Fill Color", previousBackgroundFillColor);
    lastProjectPath = readText(store, "Last Project Path", lastProjectPath);
    store.endGroup();
    if (mruSize <= 0)
        mruSize = 4;

    recentFiles.clear();
    store.beginGroup(kRecent);
    for (int i = 1; i <= mruSize; ++i) {
        QString path = store.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !recentFiles.contains(path))
            recentFiles.append(path);
    }
    store.endGroup();

    store.beginGroup(kWorkspace);
    appWindow = parseWindowPlacement(store.value(QStringLiteral("AppWindow")).toString());
    toolbars = parseDockState(store.value(QStringLiteral("Toolbars")).toString());
    store.endGroup();
}

void AppSettings::save(QSettings& store) const {
    store.beginGroup(kSettings);
    store.setValue(QStringLiteral("Reload last project on startup"), int(reloadLastProject));
    store.setValue(QStringLiteral("MRU Size"), mruSize);
    store.setValue(QStringLiteral("Show properties bar"), int(showPropertiesBar));
    store.setValue(QStringLiteral("Thumb cx"), thumbCx);
    store.setValue(QStringLiteral("Thumb cy"), thumbCy);
    store.setValue(QStringLiteral("Undo Levels"), undoLevels);
    store.setValue(QStringLiteral("Undo Memory MB"), undoMemoryMb);
    store.setValue(QStringLiteral("LastTemplateLoadDir"), lastTemplateLoadDir);
    store.setValue(QStringLiteral("LastImageLoadDir"), lastImageLoadDir);
    store.setValue(QStringLiteral("LastHtmlExportName"), lastHtmlExportName);
    store.setValue(QStringLiteral("LastPdfExportName"), lastPdfExportName);
    store.setValue(QStringLiteral("Last Background File Name"), lastBackgroundFileName);
    store.setValue(QStringLiteral("Previous export filter"), previousExportFilter);
    store.setValue(QStringLiteral("Previous timed capture frame rate"), previousTimedCaptureFrameRate);
    store.setValue(QStringLiteral("Previous capture region"), captureWizard.regionMode);
    store.setValue(QStringLiteral("Previous start capturing"), int(captureWizard.startCapturing));
    store.setValue(QStringLiteral("Previous hide main window"), int(captureWizard.hideMainWindow));
    store.setValue(QStringLiteral("Previous timed capture"), int(captureWizard.timedCapture));
    store.setValue(QStringLiteral("Previous click capture"), int(captureWizard.clickCapture));
    const QRect& r = captureWizard.rectangle;
    store.setValue(QStringLiteral("Previous capture rectangle"),
                   r.isNull()
                       ? QString()
                       : QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    store.setValue(QStringLiteral("Properties Panel View Mode"), propertiesPanelViewMode);
    store.setValue(QStringLiteral("Previous Background Mode"), previousBackgroundMode);
    store.setValue(QStringLiteral("Previous Background cx"), previousBackgroundCx);
    store.setValue(QStringLiteral("Previous Background cy"), previousBackgroundCy);
    store.setValue(QStringLiteral("Previous Background Fill Color"), previousBackgroundFillColor);
    store.endGroup();

    store.remove(kRecent);
    store.beginGroup(kRecent);
    for (int i = 0; i < recentFiles.size() && i < mruSize; ++i)
        store.setValue(QStringLiteral("File%1").arg(i + 1), recentFiles[i]);
    store.endGroup();
}

QString AppSettings::readLastProjectPath(QSettings& store) {
    return store.value(kSettings + QLatin1Char('/') + kLastProject).toString();
}

void AppSettings::writeLastProjectPath(QSettings& store, const QString& path) {
    store.setValue(kSettings + QLatin1Char('/') + kLastProject, path);
}

QString AppSettings::readPortalRestoreToken(QSettings& store) {
    return store.value(kSettings + QLatin1Char('/') + kRestoreToken).toString();
}

void AppSettings::writePortalRestoreToken(QSettings& store, const QString& token) {
    store.setValue(kSettings + QLatin1Char('/') + kRestoreToken, token);
}

void AppSettings::saveWorkspace(QSettings& store) const {
    store.beginGroup(kWorkspace);
    if (appWindow.valid)
        store.setValue(QStringLiteral("AppWindow"), formatWindowPlacement(appWindow));
    store.setValue(QStringLiteral("Toolbars"), formatDockState(toolbars));
    store.endGroup();
}

void AppSettings::addRecentFile(const QString& path) {
    if (path.isEmpty())
        return;
    recentFiles.removeAll(path);
    recentFiles.prepend(path);
    while (recentFiles.size() > mruSize)
        recentFiles.removeLast();
}

void AppSettings::removeRecentFile(const QString& path) {
    recentFiles.removeAll(path);
}

void AppSettings::setMruSize(int size) {
    mruSize = size <= 0 ? 4 : size;
    while (recentFiles.size() > mruSize)
        recentFiles.removeLast();
}

QString formatWindowPlacement(const WindowPlacement& placement) {
    const QRect& r = placement.normalRect;
    return QString::asprintf("%d %d %d %d %d", placement.showState, r.left(), r.top(), r.left() + r.width(),
                             r.top() + r.height());
}

WindowPlacement parseWindowPlacement(const QString& text) {
    WindowPlacement placement;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 5)
        return placement;
    int values[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return placement;
    }
    if (values[3] <= values[1] || values[4] <= values[2])
        return placement;
    placement.showState = values[0];
    placement.normalRect = QRect(values[1], values[2], values[3] - values[1], values[4] - values[2]);
    placement.valid = true;
    return placement;
}

QString formatDockState(const QByteArray& state) {
    QString text;
    text.reserve(state.size() * 4);
    for (char byte : state) {
        text += QString::number(static_cast<unsigned char>(byte));
        text += QLatin1Char(' ');
    }
    return text;
}

QByteArray parseDockState(const QString& text) {
    QByteArray state;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        uint value = part.toUInt(&ok);
        if (!ok || value > 255)
            return QByteArray();
        state.append(char(value));
    }
    return state;
}

}  // namespace quib

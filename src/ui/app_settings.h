#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

class QSettings;

namespace quib {

// The saved placement of the main window: show state and the normal window rectangle.
struct WindowPlacement {
    int showState = 0;  // 1 normal or minimised, 3 maximised
    QRect normalRect;   // left, top, right + 1, bottom + 1 of the normal window
    bool valid = false;
};

// What the new-project wizard's first step showed when it was last confirmed.
struct CaptureWizardChoices {
    int regionMode = 0;  // the region list's index
    bool startCapturing = true;
    bool hideMainWindow = false;
    bool timedCapture = false;
    bool clickCapture = false;
    QRect rectangle;  // the last rectangle typed or dragged; null when none
};

// Everything the application keeps between runs, in the groups "Settings", "Recent File List"
// and "Workspace". Values missing from the store keep their defaults.
struct AppSettings {
    static constexpr int DefaultMruSize = 10;

    // "Settings"
    bool reloadLastProject = true;
    int mruSize = DefaultMruSize;
    bool showPropertiesBar = true;
    int thumbCx = 64;
    int thumbCy = 64;
    // The undo history of each project: steps kept, and megabytes of pictures kept for it.
    int undoLevels = 100;
    int undoMemoryMb = 512;
    QString lastTemplateLoadDir;
    QString lastImageLoadDir;
    QString lastHtmlExportName;
    QString lastPdfExportName;
    QString lastBackgroundFileName;
    int previousExportFilter = 0;
    int previousTimedCaptureFrameRate = 3;
    CaptureWizardChoices captureWizard;
    int propertiesPanelViewMode = 0;
    int previousBackgroundMode = 0;
    int previousBackgroundCx = 0;
    int previousBackgroundCy = 0;
    int previousBackgroundFillColor = 0xFFFFFF;
    QString lastProjectPath;

    // "Recent File List", most recent first
    QStringList recentFiles;

    // "Workspace"
    WindowPlacement appWindow;
    QByteArray toolbars;

    // Defaults for a fresh installation; the templates folder is where templates are saved.
    static AppSettings defaults(const QString& templatesFolder);

    // Reads the recent-projects list and every value of "Settings" and "Workspace".
    void load(QSettings& store);
    // Writes the recent-projects list and every value of "Settings" except "Last Project Path".
    void save(QSettings& store) const;
    // "Last Project Path" alone: written when the main window closes and cleared after start-up.
    static QString readLastProjectPath(QSettings& store);
    static void writeLastProjectPath(QSettings& store, const QString& path);
    // "Portal Restore Token" alone: the desktop portal's handle on the user's choice of screen,
    // written as soon as the portal hands a new one, so that the user chooses only once.
    static QString readPortalRestoreToken(QSettings& store);
    static void writePortalRestoreToken(QSettings& store, const QString& token);
    void saveWorkspace(QSettings& store) const;

    // Puts path at the top of the recent list (once, case-sensitive) and trims it to mruSize.
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);
    // Sets a new list size: 0 or less becomes 4, as the preferences dialog asks.
    void setMruSize(int size);
};

// The "AppWindow" text, "%d %d %d %d %d": show state, left, top, right, bottom.
QString formatWindowPlacement(const WindowPlacement& placement);
WindowPlacement parseWindowPlacement(const QString& text);

// The "Toolbars" text: each byte as its decimal value followed by one space.
QString formatDockState(const QByteArray& state);
QByteArray parseDockState(const QString& text);

}  // namespace quib

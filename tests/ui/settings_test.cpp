#include <gtest/gtest.h>

#include <QFile>

#include "ui/app_settings.h"
#include "ui_test_support.h"

namespace quib {
namespace {

using test::TempSettings;

AppSettings changedSettings() {
    AppSettings s;
    s.reloadLastProject = false;
    s.mruSize = 6;
    s.showPropertiesBar = false;
    s.thumbCx = 80;
    s.thumbCy = 48;
    s.lastTemplateLoadDir = QStringLiteral("/t");
    s.lastImageLoadDir = QStringLiteral("/i");
    s.lastHtmlExportName = QStringLiteral("/h.html");
    s.lastPdfExportName = QStringLiteral("/p.pdf");
    s.lastBackgroundFileName = QStringLiteral("/b.png");
    s.previousExportFilter = 2;
    s.previousTimedCaptureFrameRate = 7;
    s.captureWizard = CaptureWizardChoices{1, false, true, true, true, QRect(-20, 30, 800, 600)};
    s.propertiesPanelViewMode = 1;
    s.previousBackgroundMode = 2;
    s.previousBackgroundCx = 800;
    s.previousBackgroundCy = 600;
    s.previousBackgroundFillColor = 0x123456;
    s.recentFiles = {QStringLiteral("/a.qbk"), QStringLiteral("/b c.qbk")};
    return s;
}

TEST(AppSettings, EveryValueSurvivesSaveAndLoad) {
    TempSettings temp;
    const AppSettings written = changedSettings();
    written.save(temp.store());
    auto reader = temp.reopen();
    AppSettings read = AppSettings::defaults(QStringLiteral("/other"));
    read.load(*reader);
    EXPECT_EQ(read.reloadLastProject, false);
    EXPECT_EQ(read.mruSize, 6);
    EXPECT_EQ(read.showPropertiesBar, false);
    EXPECT_EQ(read.thumbCx, 80);
    EXPECT_EQ(read.thumbCy, 48);
    EXPECT_EQ(read.lastTemplateLoadDir, QStringLiteral("/t"));
    EXPECT_EQ(read.lastImageLoadDir, QStringLiteral("/i"));
    EXPECT_EQ(read.lastHtmlExportName, QStringLiteral("/h.html"));
    EXPECT_EQ(read.lastPdfExportName, QStringLiteral("/p.pdf"));
    EXPECT_EQ(read.lastBackgroundFileName, QStringLiteral("/b.png"));
    EXPECT_EQ(read.previousExportFilter, 2);
    EXPECT_EQ(read.previousTimedCaptureFrameRate, 7);
    EXPECT_EQ(read.captureWizard.regionMode, 1);
    EXPECT_FALSE(read.captureWizard.startCapturing);
    EXPECT_TRUE(read.captureWizard.hideMainWindow);
    EXPECT_TRUE(read.captureWizard.timedCapture);
    EXPECT_TRUE(read.captureWizard.clickCapture);
    EXPECT_EQ(read.captureWizard.rectangle, QRect(-20, 30, 800, 600));
    EXPECT_EQ(read.propertiesPanelViewMode, 1);
    EXPECT_EQ(read.previousBackgroundMode, 2);
    EXPECT_EQ(read.previousBackgroundCx, 800);
    EXPECT_EQ(read.previousBackgroundCy, 600);
    EXPECT_EQ(read.previousBackgroundFillColor, 0x123456);
    EXPECT_EQ(read.recentFiles, written.recentFiles);
}

TEST(AppSettings, ReadsAHandWrittenFile) {
    TempSettings temp;
    {
        QFile file(temp.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[Settings]\n"
            "Thumb%20cx=96\n"
            "MRU%20Size=2\n"
            "LastImageLoadDir=/pictures\n"
            "Last%20Project%20Path=/p/last.qbk\n"
            "\n[Recent%20File%20List]\n"
            "File1=/one.qbk\nFile2=/two.qbk\nFile3=/beyond the size.qbk\n"
            "\n[Workspace]\n"
            "AppWindow=3 10 20 810 620\n"
            "Toolbars=0 255 7 \n");
    }
    QSettings store(temp.path(), QSettings::IniFormat);
    AppSettings s;
    s.load(store);
    EXPECT_EQ(s.thumbCx, 96);
    EXPECT_EQ(s.thumbCy, 64);
    EXPECT_EQ(s.mruSize, 2);
    EXPECT_EQ(s.lastImageLoadDir, QStringLiteral("/pictures"));
    EXPECT_EQ(s.lastProjectPath, QStringLiteral("/p/last.qbk"));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/one.qbk"), QStringLiteral("/two.qbk")}));
    ASSERT_TRUE(s.appWindow.valid);
    EXPECT_EQ(s.appWindow.showState, 3);
    EXPECT_EQ(s.appWindow.normalRect, QRect(10, 20, 800, 600));
    EXPECT_EQ(s.toolbars, QByteArray("\x00\xff\x07", 3));
}

TEST(AppSettings, RecentListKeepsMostRecentFirstWithoutDuplicatesAndWithinSize) {
    AppSettings s;
    s.mruSize = 3;
    for (const char* p : {"/a", "/b", "/c", "/b", "/d"})
        s.addRecentFile(QString::fromLatin1(p));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/d"), QStringLiteral("/b"), QStringLiteral("/c")}));
    s.removeRecentFile(QStringLiteral("/b"));
    EXPECT_EQ(s.recentFiles, (QStringList{QStringLiteral("/d"), QStringLiteral("/c")}));
}

TEST(WorkspaceFormat, DockStateIsDecimalBytesEachFollowedByASpace) {
    EXPECT_EQ(formatDockState(QByteArray("\x01\x80\x00", 3)), QStringLiteral("1 128 0 "));
    EXPECT_EQ(parseDockState(QStringLiteral("1 128 0 ")), QByteArray("\x01\x80\x00", 3));
    EXPECT_TRUE(parseDockState(QStringLiteral("1 300 ")).isEmpty());
}

}  // namespace
}  // namespace quib

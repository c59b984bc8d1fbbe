#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>

#include "model/frame_composition.h"
#include "shapes/callout_library.h"
#include "support/files_and_commands.h"
#include "ui/app_paths.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/placeholder_document.h"
#include "ui/quib_app.h"
#include "ui/recent_file_name.h"
#include "ui_test_support.h"

namespace quib {
namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        frame = std::make_unique<CMainFrame>(settings, temp.store());
        frame->setMessageFunction([this](const QString& m) { messages.append(m); });
        frame->resize(1000, 700);
        frame->show();
    }

    QMenu* topMenu(const QString& title) const {
        for (QAction* a : frame->menuBar()->actions())
            if (a->text() == title)
                return a->menu();
        return nullptr;
    }

    void openProject(const QString& name = QStringLiteral("demo.qbk")) {
        ASSERT_TRUE(frame->openProject(test::makeFile(temp.folder(), name)));
    }

    test::TempSettings temp;
    AppSettings settings;
    std::unique_ptr<CMainFrame> frame;
    QStringList messages;
};

TEST_F(MainFrameTest, PanelHiddenAtOnceWhenTheSettingIsOff) {
    settings.showPropertiesBar = false;
    CMainFrame other(settings, temp.store());
    EXPECT_TRUE(other.propertiesPanel()->isHidden());
}

TEST_F(MainFrameTest, RecentEntryOpensItsProject) {
    const QString path = test::makeFile(temp.folder(), QStringLiteral("recent one.qbk"));
    settings.recentFiles = {path};
    emit topMenu("&File")->aboutToShow();
    ASSERT_EQ(frame->recentFileActions().size(), 1);
    frame->recentFileActions()[0]->trigger();
    EXPECT_EQ(frame->activeProjectPath(), path);
    EXPECT_TRUE(frame->showsProjectMenu());
}

TEST_F(MainFrameTest, FailedOpenIsReportedAndLeavesTheRecentListOpeningTwiceActivatesTheSameWindow) {
    const QString missing = temp.folder() + QStringLiteral("/missing.qbk");
    settings.recentFiles = {missing};
    EXPECT_FALSE(frame->openProject(missing));
    EXPECT_TRUE(settings.recentFiles.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Impossibile trovare questo file.")));

    const QString path = test::makeFile(temp.folder(), QStringLiteral("twice.qbk"));
    ASSERT_TRUE(frame->openProject(path));
    ASSERT_TRUE(frame->openProject(path));
    EXPECT_EQ(frame->childFrames().size(), 1);
    EXPECT_EQ(settings.recentFiles, QStringList{path});
    EXPECT_EQ(frame->activeProjectPath(), path);
}

TEST_F(MainFrameTest, WindowMenuListsTheOpenProjects) {
    openProject(QStringLiteral("one.qbk"));
    openProject(QStringLiteral("two.qbk"));
    emit topMenu("F&inestra")->aboutToShow();
    const QList<QAction*> list = frame->windowListActions();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0]->text(), QStringLiteral("&1 one.qbk"));
    EXPECT_EQ(list[1]->text(), QStringLiteral("&2 two.qbk"));
    EXPECT_TRUE(list[1]->isChecked());
}

TEST_F(MainFrameTest, TutorialsWaitForTheirHandlerAndFindTheSampleInTheUserDataFolder) {
    EXPECT_FALSE(frame->action(cmd::Tutorial1)->isEnabled());
    QStringList ran;
    frame->setTutorialHandler([&ran](const QString& path) { ran.append(path); });
    frame->updateCommandStates();

    QDir().mkpath(userDataFolder() + QStringLiteral("/samples"));
    const QString sample =
        test::makeFile(userDataFolder() + QStringLiteral("/samples"), QStringLiteral("tutorial.qbk"));
    frame->action(cmd::Tutorial1)->trigger();
    EXPECT_EQ(ran, QStringList{sample});
    QFile::remove(sample);

    frame->action(cmd::Tutorial1)->trigger();
    EXPECT_EQ(ran.size(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].contains(QStringLiteral("samples/tutorial.qbk\nImpossibile trovare questo file.")));
}

using test::TempSettings;

TEST(RecentFileName, LongPathsKeepTheFirstFolderAndTheEnd) {
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/a/b.qbk"), 30), QStringLiteral("/a/b.qbk"));
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/home/someone/projects/tutorials/2026/demo.qbk"), 30),
              QStringLiteral("/.../tutorials/2026/demo.qbk"));
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/x/a-very-long-project-file-name-here.qbk"), 30),
              QStringLiteral("a-very-long-project-file-name-here.qbk"));
}

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
    // Read back over other defaults and written again, every value gives the same file.
    TempSettings temp, again;
    changedSettings().save(temp.store());
    AppSettings read = AppSettings::defaults(QStringLiteral("/other"));
    read.load(*temp.reopen());
    read.save(again.store());
    again.store().sync();
    const std::string first = test::readFile(temp.path().toStdString());
    EXPECT_NE(first.find("/b c.qbk"), std::string::npos) << first;
    EXPECT_EQ(test::readFile(again.path().toStdString()), first);
}

TEST(AppSettings, ReadsAHandWrittenFile) {
    TempSettings temp;
    test::writeFile(temp.path().toStdString(),
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
    EXPECT_TRUE(parseDockState(QStringLiteral("1 300 ")).isEmpty());
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }

    // Starts the application with the given arguments after the program path; failure messages
    // are collected instead of shown.
    std::unique_ptr<CQuibApp> start(const QStringList& args) {
        QStringList argv = args;
        argv.prepend(QStringLiteral("/usr/bin/quib"));
        auto app = std::make_unique<CQuibApp>(argv, temp.takeStore());
        // The files these tests open are stand-ins, not projects.
        app->setDocumentOpener(PlaceholderDocument::open);
        app->startupSteps().insertAfter(
            CQuibApp::StepMainWindow, QStringLiteral("collectMessages"), [this, a = app.get()] {
                a->mainFrame()->setMessageFunction([this](const QString& m) { messages.append(m); });
                return true;
            });
        EXPECT_TRUE(app->initInstance());
        return app;
    }

    void preset(const char* key, const QVariant& value) {
        temp.store().setValue(QLatin1String(key), value);
        temp.store().sync();
    }

    TempSettings temp;
    QStringList messages;
};

TEST_F(Startup, AFailingStepEndsStartUp) {
    CQuibApp app({QStringLiteral("quib")}, temp.takeStore());
    app.startupSteps().replace(CQuibApp::StepFilters, [] { return false; });
    EXPECT_FALSE(app.initInstance());
    EXPECT_EQ(app.startupSteps().executed().last(), CQuibApp::StepFilters);
    EXPECT_EQ(app.mainFrame(), nullptr);
}

TEST_F(Startup, ReadsTheSettingsAndPlacementAndWritesThemAtExit) {
    preset("Settings/Thumb cx", 120);
    preset("Recent File List/File1", QStringLiteral("/r.qbk"));
    preset("Workspace/AppWindow", QStringLiteral("1 40 30 840 630"));
    auto app = start({});
    EXPECT_EQ(app->mainFrame()->geometry().size(), QSize(800, 600)) << "the saved placement";
    EXPECT_EQ(app->settings().thumbCx, 120);
    EXPECT_EQ(app->settings().recentFiles, QStringList{QStringLiteral("/r.qbk")});
    app->settings().thumbCy = 33;
    app->exitInstance();
    auto r = temp.reopen();
    EXPECT_EQ(r->value("Settings/Thumb cx").toInt(), 120);
    EXPECT_EQ(r->value("Settings/Thumb cy").toInt(), 33);
    EXPECT_EQ(r->value("Settings/MRU Size").toInt(), 10);
}

TEST_F(Startup, ClosingStoresTheActiveProjectAndTheWorkspace) {
    const QString project = test::makeFile(temp.folder(), QStringLiteral("active.qbk"));
    auto app = start({project});
    app->mainFrame()->close();
    EXPECT_EQ(AppSettings::readLastProjectPath(app->store()), project);
    EXPECT_TRUE(app->store().contains(QStringLiteral("Workspace/AppWindow")));
    EXPECT_FALSE(app->store().value(QStringLiteral("Workspace/Toolbars")).toString().isEmpty());
    EXPECT_TRUE(app->mainFrame()->childFrames().isEmpty());
}

TEST_F(Startup, ADamagedUserCalloutLibraryIsNamedAndTheShippedOneIsUsed) {
    // The user's data folder as the started application names it.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/Corvander/Quib");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString damaged = folder + QStringLiteral("/callout.dat");
    test::writeFile(damaged.toStdString(), "broken");
    auto app = start({});
    QFile::remove(damaged);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(damaged)) << messages[0].toStdString();
    CalloutLibrary shipped;
    ASSERT_TRUE(shipped.LoadLibrary(QUIB_BUILD_DIR "/share/quib/callout.dat"));
    ASSERT_NE(applicationCalloutLibrary(), nullptr);
    EXPECT_EQ(applicationCalloutLibrary()->write(), shipped.write());
}

}  // namespace
}  // namespace quib

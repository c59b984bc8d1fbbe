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
#include "ui/app_paths.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/placeholder_document.h"
#include "ui/quib_app.h"
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

    bool isEnabled(int id) const { return frame->action(id)->isEnabled(); }

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
    EXPECT_FALSE(isEnabled(cmd::Tutorial1));
    QStringList ran;
    frame->setTutorialHandler([&ran](const QString& path) { ran.append(path); });
    frame->updateCommandStates();
    EXPECT_TRUE(isEnabled(cmd::Tutorial2));

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
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("broken");
    }
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

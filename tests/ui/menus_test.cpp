#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ui/app_paths.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
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

TEST_F(MainFrameTest, OpeningAddsToTheRecentListAndTwiceActivatesTheSameWindow) {
    const QString path = test::makeFile(temp.folder(), QStringLiteral("twice.qbk"));
    ASSERT_TRUE(frame->openProject(path));
    ASSERT_TRUE(frame->openProject(path));
    EXPECT_EQ(frame->childFrames().size(), 1);
    EXPECT_EQ(settings.recentFiles, QStringList{path});
    EXPECT_EQ(frame->activeProjectPath(), path);
}

TEST_F(MainFrameTest, FailedOpenIsReportedAndLeavesTheRecentList) {
    const QString path = temp.folder() + QStringLiteral("/missing.qbk");
    settings.recentFiles = {path};
    EXPECT_FALSE(frame->openProject(path));
    EXPECT_TRUE(settings.recentFiles.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Impossibile trovare questo file.")));
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

}  // namespace
}  // namespace quib

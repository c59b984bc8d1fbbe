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

    QStringList menuTitles() const {
        QStringList titles;
        for (QAction* a : frame->menuBar()->actions())
            titles.append(a->text());
        return titles;
    }

    QMenu* topMenu(const QString& title) const {
        for (QAction* a : frame->menuBar()->actions())
            if (a->text() == title)
                return a->menu();
        return nullptr;
    }

    static QStringList texts(QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible())
                list.append(a->text());
        return list;
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

TEST_F(MainFrameTest, NoProjectMenuHasFileViewAndHelp) {
    EXPECT_FALSE(frame->showsProjectMenu());
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Visualizza", "&?"}));
    EXPECT_EQ(texts(topMenu("&File")), (QStringList{"&Nuovo\tCtrl+N", "&Apri...\tCtrl+O", "Pre&ferenze\tF4",
                                                    "File recente", "&Esci\tAlt+F4"}));
    EXPECT_EQ(texts(topMenu("&Visualizza")),
              (QStringList{"Barra degli s&trumenti", "Barra di &stato", "&Mostra pannello"}));
    EXPECT_TRUE(texts(topMenu("&?")).contains(QStringLiteral("&Informazioni su Quib...")));
}

TEST_F(MainFrameTest, OpeningAProjectSwitchesToTheProjectMenuAndClosingSwitchesBack) {
    openProject();
    EXPECT_TRUE(frame->showsProjectMenu());
    EXPECT_EQ(menuTitles(),
              (QStringList{"&File", "&Modifica", "&Visualizza", "F&rame", "&Progetto", "F&inestra", "&?"}));
    const QStringList file = texts(topMenu("&File"));
    EXPECT_EQ(file.mid(0, 7),
              (QStringList{"&Nuovo\tCtrl+N", "&Apri...\tCtrl+O", "&Chiudi\tCtrl+F4", "&Salva\tCtrl+S",
                           "Salva c&on nome...", "Salva &tutto", "Sal&va compresso"}));
    EXPECT_EQ(texts(topMenu("&Modifica")).mid(0, 2),
              (QStringList{"&Annulla\tCtrl+Z", "Ri&pristina\tCtrl+Y"}));
    EXPECT_EQ(texts(topMenu("&Modifica")).mid(2),
              (QStringList{"&Taglia\tCtrl+X", "&Copia\tCtrl+C", "Copia && &unisci\tCtrl+Shift+C",
                           "&Incolla\tCtrl+V", "&Elimina\tDel", "&Seleziona tutto\tCtrl+A"}));
    const QStringList project = texts(topMenu("&Progetto"));
    EXPECT_TRUE(project.contains(QStringLiteral("Impostazioni...\tF3")));
    EXPECT_TRUE(project.contains(QStringLiteral("&Renderizza\tF7")));
    EXPECT_TRUE(
        texts(topMenu("F&rame")).contains(QStringLiteral("Scegli la destinazione del pulsante VaiA &1...")));
    EXPECT_EQ(texts(topMenu("F&inestra")).last(), QStringLiteral("&Finestre..."));

    frame->mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame->showsProjectMenu());
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Visualizza", "&?"}));
}

TEST_F(MainFrameTest, AcceleratorsIncludeTheSecondKeysOfClipboardCommands) {
    using K = QKeySequence;
    EXPECT_EQ(frame->action(cmd::EditCopy)->shortcuts(), (QList<K>{K("Ctrl+C"), K("Ctrl+Ins")}));
    EXPECT_EQ(frame->action(cmd::EditCut)->shortcuts(), (QList<K>{K("Ctrl+X"), K("Shift+Del")}));
    EXPECT_EQ(frame->action(cmd::EditPaste)->shortcuts(), (QList<K>{K("Ctrl+V"), K("Shift+Ins")}));
    EXPECT_EQ(frame->action(cmd::NextPane)->shortcut(), K("F6"));
    EXPECT_EQ(frame->action(cmd::FirstFrame)->shortcut(), K("Ctrl+Alt+Left"));
    // Keys shown in a menu text but handled by the views or the window system carry no accelerator.
    EXPECT_TRUE(frame->action(cmd::EditDelete)->shortcuts().isEmpty());
    EXPECT_TRUE(frame->action(cmd::InsertFrames)->shortcuts().isEmpty());
}

TEST_F(MainFrameTest, PromptsGiveStatusTextAndToolTip) {
    QAction* render = frame->action(cmd::Render);
    EXPECT_EQ(render->statusTip(), QStringLiteral("Renderizza il file di output del progetto"));
    EXPECT_EQ(render->toolTip(), QStringLiteral("Renderizza"));
}

TEST_F(MainFrameTest, CommandsOfAreasNotPresentAreDisabled) {
    EXPECT_TRUE(isEnabled(cmd::FileOpen));
    EXPECT_TRUE(isEnabled(cmd::Preferences));
    EXPECT_TRUE(isEnabled(cmd::AppAbout));
    EXPECT_FALSE(isEnabled(cmd::FileNew));
    EXPECT_FALSE(isEnabled(cmd::FileClose));
    EXPECT_FALSE(isEnabled(cmd::Render));
    EXPECT_FALSE(isEnabled(cmd::EditCopy));
    EXPECT_FALSE(isEnabled(cmd::WindowCascade));
    EXPECT_FALSE(isEnabled(cmd::FileMruFirst));
    EXPECT_FALSE(frame->router().dispatch(cmd::Render));  // a disabled command does nothing
    openProject();
    EXPECT_TRUE(isEnabled(cmd::FileClose));
    EXPECT_TRUE(isEnabled(cmd::WindowCascade));
    EXPECT_TRUE(isEnabled(cmd::ThumbnailsOnly));
    EXPECT_FALSE(isEnabled(cmd::Render));
    EXPECT_FALSE(isEnabled(cmd::ProjectSettings));
    EXPECT_FALSE(isEnabled(cmd::ChooseFont));
}

TEST_F(MainFrameTest, ShowPanelTogglesThePanelAndItsCheck) {
    QAction* show = frame->action(cmd::ShowPanel);
    EXPECT_TRUE(show->isChecked());
    show->trigger();
    EXPECT_TRUE(frame->propertiesPanel()->isHidden());
    EXPECT_FALSE(show->isChecked());
    show->trigger();
    EXPECT_FALSE(frame->propertiesPanel()->isHidden());
    EXPECT_TRUE(show->isChecked());
}

TEST_F(MainFrameTest, PanelHiddenAtOnceWhenTheSettingIsOff) {
    settings.showPropertiesBar = false;
    CMainFrame other(settings, temp.store());
    EXPECT_TRUE(other.propertiesPanel()->isHidden());
}

TEST_F(MainFrameTest, RecentProjectsReplaceThePlaceholderEntry) {
    QMenu* file = topMenu("&File");
    emit file->aboutToShow();
    EXPECT_TRUE(texts(file).contains(QStringLiteral("File recente")));
    settings.recentFiles = {QStringLiteral("/a.qbk"), QStringLiteral("/b&c.qbk")};
    emit file->aboutToShow();
    const QStringList entries = texts(file);
    EXPECT_FALSE(entries.contains(QStringLiteral("File recente")));
    EXPECT_TRUE(entries.contains(QStringLiteral("&1 /a.qbk")));
    EXPECT_TRUE(entries.contains(QStringLiteral("&2 /b&&c.qbk")));
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

TEST_F(MainFrameTest, SelectAllAndPasteKeysInATextFieldStayInTheField) {
    auto* field = new QLineEdit(QStringLiteral("abc"));
    frame->setPanelWidget(field, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    field->setFocus();
    field->deselect();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("abc"));
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), QStringLiteral("xyz"));
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

TEST_F(MainFrameTest, TitleAndPanelFollowTheActiveProject) {
    openProject(QStringLiteral("titled.qbk"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quib - titled.qbk"));
    EXPECT_EQ(frame->propertiesPanel()->windowTitle(), QStringLiteral("Proprietà per titled.qbk"));
}

TEST_F(MainFrameTest, CopyKeyInATextFieldCopiesTheFieldNotTheCommand) {
    int copies = 0;
    struct CopyCounter : CommandHandler {
        int* count;
        bool handles(int id) const override { return id == cmd::EditCopy; }
        void run(int) override { ++*count; }
        bool enabled(int) const override { return true; }
    } panel;
    panel.count = &copies;
    auto* field = new QLineEdit(QStringLiteral("panel text"));
    frame->setPanelWidget(field, &panel);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    field->setFocus();
    field->selectAll();
    QApplication::clipboard()->clear();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(copies, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("panel text"));
    // Elsewhere the same key goes to the command.
    frame->setFocus();
    frame->mdiArea()->setFocus();
    QTest::keyClick(frame->mdiArea(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    frame->setPanelWidget(nullptr, nullptr);
}

}  // namespace
}  // namespace quib

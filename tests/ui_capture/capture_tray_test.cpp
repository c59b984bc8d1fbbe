#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "../ui/ui_test_support.h"
#include "capture/capture_frame.h"
#include "capture/capture_session.h"
#include "capture/null_backends.h"
#include "fake_grabber.h"
#include "model/quib_doc.h"
#include "ui/capture_dialog.h"
#include "ui/capture_tray.h"

using namespace quib;

namespace {

std::vector<CSystemTray::MenuItem> twoItems() {
    return {{10, QStringLiteral("Uno")}, {0, {}}, {20, QStringLiteral("Due")}};
}

QStringList menuTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

}  // namespace

TEST(CaptureTray, IconListStepsInOrderAndWraps) {
    test::ensureApplication();
    CSystemTray tray(nullptr, QStringLiteral("Quib Capture"), 136, twoItems());
    EXPECT_EQ(tray.shownIconId(), 136);
    EXPECT_TRUE(tray.setIconList(164, 167));
    EXPECT_EQ(tray.shownIconId(), 136);  // shown only from the next step
    std::vector<int> shown;
    for (int i = 0; i < 5; ++i) {
        tray.stepAnimation();
        shown.push_back(tray.shownIconId());
    }
    EXPECT_EQ(shown, (std::vector<int>{165, 166, 167, 164, 165}));
    // A reversed range is refused and changes nothing.
    EXPECT_FALSE(tray.setIconList(140, 139));
    EXPECT_EQ(tray.iconList(), (std::vector<int>{164, 165, 166, 167}));
}

TEST(CaptureTray, MenuRunsItsCommandsAndDoubleClickRunsTheFirst) {
    test::ensureApplication();
    CSystemTray tray(nullptr, QStringLiteral("Quib Capture"), 136, twoItems());
    std::vector<int> run;
    tray.setNotificationTarget([&](int command) { run.push_back(command); },
                               [](int command) { return command != 20; });
    EXPECT_EQ(menuTexts(*tray.menu()),
              (QStringList{QStringLiteral("Uno"), QStringLiteral("-"), QStringLiteral("Due")}));
    EXPECT_TRUE(tray.menuAction(10)->font().bold());
    tray.doubleClicked();
    tray.menuAction(20)->trigger();
    EXPECT_EQ(run, (std::vector<int>{10, 20}));
    tray.updateMenu();
    EXPECT_TRUE(tray.menuAction(10)->isEnabled());
    EXPECT_FALSE(tray.menuAction(20)->isEnabled());
}

TEST(CaptureTray, IconsAreDrawnForEveryState) {
    test::ensureApplication();
    for (int id : {136, 137, 164, 165, 166, 167}) {
        const QImage picture = CSystemTray::iconPicture(id).pixmap(32, 32).toImage();
        ASSERT_FALSE(picture.isNull()) << id;
        EXPECT_GT(qAlpha(picture.pixel(16, 18)), 0) << id;
    }
    const QImage a = CSystemTray::iconPicture(164).pixmap(32, 32).toImage();
    const QImage b = CSystemTray::iconPicture(165).pixmap(32, 32).toImage();
    EXPECT_NE(a, b);  // the animation moves
}

namespace {

class CaptureDialogTrayTest : public ::testing::Test, public test::WithApplication {
protected:
    void SetUp() override {
        mainWindow = std::make_unique<QWidget>();
        // Away from the region: a main window over it would wait hidden for the whole session.
        mainWindow->setGeometry(100, 100, 300, 200);
        mainWindow->show();
        prepareCaptureProject(doc, kRegion);
        dialog = std::make_unique<CCaptureDialog>(grabber, nullptr, doc, kRegion, true, 3, mainWindow.get(),
                                                  QStringLiteral("Nessun display"));
        dialog->setMessageFunction([this](const QString& text) { messages << text; });
        dialog->setShiftFunction([this] { return shift; });
        dialog->setTrayShownFunction([this] { return trayShown; });
        dialog->show();
    }
    void TearDown() override {
        dialog.reset();
        mainWindow.reset();
    }
    static constexpr Rect kRegion{0, 0, 80, 60};
    test::FakeGrabber grabber;
    CQuibDoc doc;
    bool shift = false;
    bool trayShown = true;
    QStringList messages;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<CCaptureDialog> dialog;
};

}  // namespace

TEST_F(CaptureDialogTrayTest, TrayMenuOffersMinimizingWhileTheDialogIsShown) {
    dialog->tray().updateMenu();
    EXPECT_TRUE(dialog->tray().menuAction(CCaptureDialog::MinimizeToTray)->isEnabled());
    EXPECT_FALSE(dialog->tray().menuAction(CCaptureDialog::RestoreFromTray)->isEnabled());
}

TEST_F(CaptureDialogTrayTest, SingleCaptureStepsTheIdlePairAndDoubleClickCaptures) {
    dialog->tray().doubleClicked();
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(dialog->tray().shownIconId(), 136);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quib:1 Frames"));
    EXPECT_EQ(dialog->counterLabel()->text(), QStringLiteral("1"));
}

TEST_F(CaptureDialogTrayTest, FailedGrabStopsTimedCaptureAndSaysSo) {
    grabber.failGrabs = true;
    shift = true;
    dialog->runCommand(CCaptureDialog::CaptureToggle);
    dialog->timedTick();
    EXPECT_FALSE(dialog->session().timedCaptureRunning());
    EXPECT_FALSE(dialog->timer()->isActive());
    EXPECT_EQ(messages, QStringList{QStringLiteral("no screen")});
    EXPECT_EQ(doc.frameCount(), 0);
}

TEST_F(CaptureDialogTrayTest, MinimizingTheDialogHidesItInTheTray) {
    dialog->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->minimizedToTray());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(mainWindow->isVisible());
    dialog->runCommand(CCaptureDialog::RestoreFromTray);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isMinimized());
}

TEST_F(CaptureDialogTrayTest, WithoutATrayIconMinimizingKeepsTheDialogReachable) {
    trayShown = false;
    dialog->runCommand(CCaptureDialog::MinimizeToTray);
    EXPECT_FALSE(dialog->minimizedToTray());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isMinimized());
    EXPECT_TRUE(mainWindow->isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CaptureDialogTrayTest, HiddenDialogDoesNotEndTheWait) {
    int result = -1;
    dialog->hide();
    QTimer::singleShot(0, dialog.get(), [this] {
        dialog->runCommand(CCaptureDialog::MinimizeToTray);
        QTimer::singleShot(0, dialog.get(), [this] {
            dialog->runCommand(CCaptureDialog::CaptureToggle);
            dialog->runCommand(CCaptureDialog::Finish);
        });
    });
    result = runCaptureDialog(*dialog);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_TRUE(mainWindow->isEnabled());
}

TEST_F(CaptureDialogTrayTest, KeysTakenByAnotherProgramAreExplainedAndTheButtonStands) {
    dialog.reset();
    NullGlobalHotKey taken("Il tasto \"Pausa\" è già usato da un'altra applicazione.");
    dialog = std::make_unique<CCaptureDialog>(grabber, &taken, doc, kRegion, false, 3, mainWindow.get());
    dialog->show();
    EXPECT_FALSE(dialog->hotKeyArmed());
    EXPECT_TRUE(dialog->captureButton()->isVisible());
    bool explained = false;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        explained = explained || (label->isVisible() && label->text().contains(QStringLiteral("già usato")));
    EXPECT_TRUE(explained);
    dialog.reset();  // before the keys it refers to
}

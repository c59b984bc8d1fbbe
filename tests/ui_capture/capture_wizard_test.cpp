#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "../capture/fake_grabber.h"
#include "../ui/ui_test_support.h"
#include "capture/capture_frame.h"
#include "capture/capture_session.h"
#include "capture/null_backends.h"
#include "model/quib_doc.h"
#include "ui/capture_backends.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/capture_tray.h"
#include "ui/new_project_wizard.h"
#include "ui/quib_project_document.h"
#include "ui/region_picker.h"

namespace quib {
namespace {

// A fake screen and a shown main window that the capture dialogs and the wizard hide and give back.
struct CaptureFixture : ::testing::Test, test::WithApplication {
    CaptureFixture() { mainWindow->show(); }
    test::FakeGrabber grabber;
    CQuibDoc doc;
    int lastRate = 3;
    QStringList messages;
    std::unique_ptr<QWidget> mainWindow = std::make_unique<QWidget>();
};

struct CaptureSetupDialogTest : CaptureFixture {
    void SetUp() override {
        dialog = std::make_unique<CCaptureSetupDialog>(doc, grabber, lastRate, mainWindow.get());
        dialog->setMessageFunction([this](const QString& text) { messages << text; });
    }
    void TearDown() override {
        dialog.reset();
        QApplication::processEvents();
    }
    void choose(RegionMode mode) { dialog->regionList()->setCurrentIndex(int(mode)); }
    std::unique_ptr<CCaptureSetupDialog> dialog;
};

TEST_F(CaptureSetupDialogTest, OpensOnTheWholeScreenWhichChoosingTheScreenAgainRestores) {
    EXPECT_EQ(dialog->regionMode(), RegionMode::Screen);
    EXPECT_EQ(dialog->rateEdit()->text(), QStringLiteral("3"));
    EXPECT_FALSE(dialog->rateEdit()->isEnabled());
    EXPECT_FALSE(dialog->problemLabel()->isVisibleTo(dialog.get()));

    // Choosing the screen again resets the region; other entries keep it.
    dialog->setRegion(Rect{10, 20, 110, 220});
    choose(RegionMode::Rectangle);
    EXPECT_EQ(dialog->region(), (Rect{10, 20, 110, 220}));
    choose(RegionMode::Screen);
    EXPECT_EQ(dialog->region(), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(dialog->regionLabel()->text(), QStringLiteral("(0, 0) - (640, 480)"));
}

TEST_F(CaptureSetupDialogTest, RateIsCheckedOnlyWithTimedCaptureAndBecomesTheLastRate) {
    dialog->rateEdit()->setText(QStringLiteral("0"));
    dialog->accept();  // timed capture off: the rate is not read
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(lastRate, 3);
    EXPECT_TRUE(messages.isEmpty());

    dialog->setResult(0);
    dialog->timedCaptureCheck()->setChecked(true);
    EXPECT_TRUE(dialog->rateEdit()->isEnabled());
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("-4"), QString()}) {
        dialog->rateEdit()->setText(bad);
        dialog->accept();
        EXPECT_EQ(dialog->result(), 0) << bad.toStdString();
    }
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], QStringLiteral("Indicare un frame rate valido (un numero > 0)"));

    dialog->rateEdit()->setText(QStringLiteral("12"));
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(lastRate, 12);
}

TEST_F(CaptureSetupDialogTest, EscapeDuringAPickKeepsTheRegionAndCancelEndsIt) {
    dialog->setRegion(Rect{1, 2, 3, 4});
    choose(RegionMode::Rectangle);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->picker()->pressAt(Point{100, 100});
    dialog->picker()->moveTo(Point{200, 200});
    dialog->picker()->abort();
    EXPECT_EQ(dialog->region(), (Rect{1, 2, 3, 4}));

    // Cancel ends a pick under way.
    choose(RegionMode::Window);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->reject();
    EXPECT_EQ(dialog->picker(), nullptr);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(CaptureSetupDialogTest, RectangleIsPickedOnAnUnreadableScreenOrByDragButAClickIsRefusedOnOk) {
    grabber.failGrabs = true;
    choose(RegionMode::Rectangle);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->picker()->pressAt(Point{5, 6});
    dialog->picker()->releaseAt(Point{50, 60});
    EXPECT_EQ(dialog->region(), (Rect{5, 6, 50, 60}));

    grabber.failGrabs = false;
    dialog->beginPick();
    RegionPicker* picker = dialog->picker();
    ASSERT_NE(picker, nullptr);
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(320, 240));
    QTest::mouseMove(picker, QPoint(200, 100));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(dialog->region(), (Rect{100, 60, 320, 240}));
    EXPECT_EQ(dialog->picker(), nullptr);

    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->picker()->pressAt(Point{50, 50});
    dialog->picker()->releaseAt(Point{50, 50});
    EXPECT_EQ(dialog->region(), (Rect{50, 50, 50, 50}));
    dialog->accept();
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(messages,
              QStringList{QStringLiteral("La regione di cattura è vuota: selezionare un'area più grande.")});
    // Without capturing the region does not matter.
    dialog->startCapturingCheck()->setChecked(false);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(CaptureSetupDialogTest, RectangleCanBeTypedOrTakenFromTheCommonSizes) {
    EXPECT_FALSE(dialog->regionField(0)->isEnabled());
    EXPECT_FALSE(dialog->commonSizesList()->isEnabled());
    choose(RegionMode::Rectangle);
    ASSERT_TRUE(dialog->regionField(0)->isEnabled());
    const int typed[4] = {15, 25, 300, 200};
    for (int i = 0; i < 4; ++i)
        dialog->regionField(i)->setValue(typed[i]);
    EXPECT_EQ(dialog->region(), (Rect{15, 25, 315, 225}));
    EXPECT_EQ(dialog->commonSizesList()->currentText(), QStringLiteral("Personalizzate"));

    // The screen is 640 x 480: a common size of it moves the region to the corner.
    const int index = dialog->commonSizesList()->findText(QStringLiteral("640 x 480"));
    ASSERT_GT(index, 0);
    dialog->commonSizesList()->setCurrentIndex(index);
    emit dialog->commonSizesList()->activated(index);
    EXPECT_EQ(dialog->region(), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(dialog->regionField(2)->value(), 640);
    dialog->setRegion(Rect{100, 50, 900, 650});
    EXPECT_EQ(dialog->commonSizesList()->currentText(), QStringLiteral("800 x 600"));
}

TEST_F(CaptureSetupDialogTest, ChoicesShowTheLastModeAndCheckBoxesAndSettingsOpenOnTheProject) {
    const CaptureWizardChoices last{1, true, true, true, true, QRect(10, 20, 640, 480)};
    dialog->applyChoices(last);
    EXPECT_EQ(dialog->regionMode(), RegionMode::Rectangle);
    EXPECT_EQ(dialog->region(), (Rect{10, 20, 650, 500}));
    EXPECT_FALSE(mainWindow->isVisible());
    const CaptureWizardChoices read = dialog->choices();
    EXPECT_EQ(read.regionMode, 1);
    EXPECT_TRUE(read.startCapturing && read.hideMainWindow && read.timedCapture && read.clickCapture);
    EXPECT_EQ(read.rectangle, last.rectangle);

    // The settings button opens the project settings on the new project.
    CQuibDoc* seen = nullptr;
    dialog->setSettingsFunction([&](CQuibDoc& project) {
        seen = &project;
        return true;
    });
    dialog->settingsButton()->click();
    EXPECT_EQ(seen, &doc);
}

TEST(CaptureTray, IconListStepsInOrderAndWrapsOverDrawnIconsAndTheMenuRunsItsCommands) {
    test::ensureApplication();
    CSystemTray tray(nullptr, QStringLiteral("Quib Capture"), 136,
                     {{10, QStringLiteral("Uno")}, {0, {}}, {20, QStringLiteral("Due")}});
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

    // Every state has its picture, and the animation moves.
    for (int id : {136, 137, 164, 165, 166, 167}) {
        const QImage picture = CSystemTray::iconPicture(id).pixmap(32, 32).toImage();
        ASSERT_FALSE(picture.isNull()) << id;
        EXPECT_GT(qAlpha(picture.pixel(16, 18)), 0) << id;
    }
    EXPECT_NE(CSystemTray::iconPicture(164).pixmap(32, 32).toImage(),
              CSystemTray::iconPicture(165).pixmap(32, 32).toImage());

    // Double click runs the first command.
    std::vector<int> run;
    tray.setNotificationTarget([&](int command) { run.push_back(command); },
                               [](int command) { return command != 20; });
    QStringList texts;
    for (QAction* action : tray.menu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Uno"), QStringLiteral("-"), QStringLiteral("Due")}));
    EXPECT_TRUE(tray.menuAction(10)->font().bold());
    tray.doubleClicked();
    tray.menuAction(20)->trigger();
    EXPECT_EQ(run, (std::vector<int>{10, 20}));
    tray.updateMenu();
    EXPECT_TRUE(tray.menuAction(10)->isEnabled());
    EXPECT_FALSE(tray.menuAction(20)->isEnabled());
}

struct CaptureDialogTest : CaptureFixture {
    void SetUp() override {
        // Away from the region: a main window over it would wait hidden for the whole session.
        mainWindow->setGeometry(100, 100, 300, 200);
        prepareCaptureProject(doc, kRegion);
        dialog = std::make_unique<CCaptureDialog>(grabber, nullptr, doc, kRegion, true, 3, mainWindow.get(),
                                                  QStringLiteral("Nessun display"));
        dialog->setMessageFunction([this](const QString& text) { messages << text; });
        dialog->setShiftFunction([this] { return shift; });
        dialog->setTrayShownFunction([this] { return trayShown; });
        dialog->show();
    }
    static constexpr Rect kRegion{0, 0, 80, 60};
    bool shift = false;
    bool trayShown = true;
    std::unique_ptr<CCaptureDialog> dialog;
};

TEST_F(CaptureDialogTest, ShiftTogglesTimedCaptureAtTheRateAndFinishingWithFramesAccepts) {
    dialog->toggleCapture(true);
    EXPECT_TRUE(dialog->session().timedCaptureRunning());
    EXPECT_EQ(dialog->session().intervalMs(), 333);
    dialog->timedTick();
    dialog->timedTick();
    // The caption counts timed grabs as the counter does.
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quib:2 Frames"));
    EXPECT_EQ(dialog->counterLabel()->text(), QStringLiteral("2"));
    dialog->toggleCapture(false);  // any press stops timed capture, without a grab
    EXPECT_FALSE(dialog->session().timedCaptureRunning());
    EXPECT_EQ(doc.frameCount(), 2);
    dialog->finish();  // with frames: accepted
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(CaptureDialogTest, DoubleClickOnTheTrayCapturesAndCancelWithFramesAsksAndNoKeepsTheSession) {
    dialog->tray().doubleClicked();
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(dialog->tray().shownIconId(), 136);  // single captures keep the idle icon
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quib:1 Frames"));
    EXPECT_EQ(dialog->counterLabel()->text(), QStringLiteral("1"));
    bool asked = false;
    dialog->setConfirmFunction([&](const QString& q) {
        asked = q.startsWith(QStringLiteral("Siete sicuri"));
        return false;
    });
    dialog->reject();
    EXPECT_TRUE(asked);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_FALSE(mainWindow->isEnabled());
    dialog->setConfirmFunction([](const QString&) { return true; });
    dialog->reject();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(mainWindow->isEnabled());
}

// Keys that start at once and hand their click callback to the test.
class ScriptedKeys : public GlobalHotKey {
public:
    Status start(Callback callback) override {
        keys = std::move(callback);
        return Status::success();
    }
    void stop() override { keys = nullptr; }
    bool isActive() const override { return bool(keys); }
    int fileDescriptor() const override { return -1; }
    void processEvents() override {}
    bool watchClicks(ClickCallback callback) override {
        clicks = std::move(callback);
        return true;
    }
    Callback keys;
    ClickCallback clicks;
};

TEST(CaptureDialogClicks, ClicksInTheRegionCaptureButNotOnOurWindowsAndPauseStillGrabs) {
    test::ensureApplication();
    const Rect region{0, 0, 400, 300};
    test::FakeGrabber grabber;
    ScriptedKeys keys;
    CQuibDoc doc;
    prepareCaptureProject(doc, region);
    CCaptureDialog dialog(grabber, &keys, doc, region, false, 1, nullptr);
    dialog.setMessageFunction([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
    ASSERT_TRUE(dialog.startClickCapture());
    ASSERT_TRUE(keys.clicks);
    QWidget ours;
    ours.setGeometry(500, 400, 100, 80);
    ours.show();
    QApplication::processEvents();

    keys.clicks(Point{100, 80});
    keys.clicks(Point{550, 440});  // on our window
    keys.clicks(Point{390, 290});
    keys.keys(HotKeyAction::Capture);
    ASSERT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(dialog.counterLabel()->text(), QStringLiteral("3"));
    EXPECT_EQ(doc.frames[0].textBox.rect, textBoxBesideClick(Point{100, 80}, Size{400, 300}));
    EXPECT_EQ(doc.frames[1].textBox.rect, textBoxBesideClick(Point{390, 290}, Size{400, 300}));
    dialog.finish();
    EXPECT_FALSE(keys.clicks);
}

TEST_F(CaptureDialogTest, FailedGrabStopsTimedCaptureAndSaysSo) {
    grabber.failGrabs = true;
    shift = true;
    dialog->runCommand(CCaptureDialog::CaptureToggle);
    dialog->timedTick();
    EXPECT_FALSE(dialog->session().timedCaptureRunning());
    EXPECT_FALSE(dialog->timer()->isActive());
    EXPECT_EQ(messages, QStringList{QStringLiteral("no screen")});
    EXPECT_EQ(doc.frameCount(), 0);
}

TEST_F(CaptureDialogTest, MinimizingHidesTheDialogInTheTrayOrWithoutATrayIconKeepsItReachable) {
    dialog->tray().updateMenu();
    EXPECT_TRUE(dialog->tray().menuAction(CCaptureDialog::MinimizeToTray)->isEnabled());
    EXPECT_FALSE(dialog->tray().menuAction(CCaptureDialog::RestoreFromTray)->isEnabled());
    dialog->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->minimizedToTray());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(mainWindow->isVisible());
    dialog->runCommand(CCaptureDialog::RestoreFromTray);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isMinimized());

    trayShown = false;
    dialog->runCommand(CCaptureDialog::MinimizeToTray);
    EXPECT_FALSE(dialog->minimizedToTray());
    EXPECT_TRUE(dialog->isMinimized());
    EXPECT_TRUE(mainWindow->isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CaptureDialogTest, HiddenDialogDoesNotEndTheWait) {
    dialog->hide();
    QTimer::singleShot(0, dialog.get(), [this] {
        dialog->runCommand(CCaptureDialog::MinimizeToTray);
        QTimer::singleShot(0, dialog.get(), [this] {
            dialog->runCommand(CCaptureDialog::CaptureToggle);
            dialog->runCommand(CCaptureDialog::Finish);
        });
    });
    EXPECT_EQ(runCaptureDialog(*dialog), QDialog::Accepted);
    EXPECT_EQ(doc.frameCount(), 1);
    EXPECT_TRUE(mainWindow->isEnabled());
}

TEST_F(CaptureDialogTest, KeysTakenByAnotherProgramAreExplainedAndTheButtonStands) {
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

TEST(CaptureBackends, WithoutAnX11DisplayTheDialogButtonStillCaptures) {
    test::ensureApplication();
    CaptureBackends backends = openApplicationCaptureBackends(nullptr);
    QWidget shown;
    shown.setGeometry(10, 10, 200, 100);
    shown.setStyleSheet(QStringLiteral("background: #2050a0;"));
    shown.show();
    QApplication::processEvents();
    CQuibDoc doc;
    const Rect region{0, 0, 120, 90};
    prepareCaptureProject(doc, region);
    CCaptureDialog capture(*backends.grabber, backends.hotKey.get(), doc, region, false, 3, nullptr,
                           QString::fromStdString(backends.problem));
    capture.setMessageFunction([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
    ASSERT_TRUE(capture.captureButton()->isVisibleTo(&capture));
    capture.captureButton()->click();
    EXPECT_EQ(doc.frameCount(), 1);
    // A window of ours over the region is left out of the picture (blue, green, red bytes) and
    // comes back after the grab.
    const uint8_t* p = doc.currentImage.pixel(60, 50);
    EXPECT_NE(std::vector<uint8_t>(p, p + 3), (std::vector<uint8_t>{0xA0, 0x50, 0x20}));
    EXPECT_TRUE(shown.isVisible());
}

// Through the desktop portal the screen is shared after the setup, for the source its mode asks.
struct SourceCase {
    RegionMode mode;
    CaptureSource asked;
    Size frame;  // the shared monitor is 900 x 700, the shared window 333 x 222
};

class WizardSourceTest : public CaptureFixture, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(WizardSourceTest, TheSetupModeDecidesWhatThePortalShares) {
    const SourceCase& c = GetParam();
    std::vector<CaptureSource> asked;
    NewProjectWizard wizard(mainWindow.get(), lastRate);
    wizard.setSourceBackendsFunction(
        [&](CaptureSource source) {
            asked.push_back(source);
            auto shared = std::make_unique<test::FakeGrabber>();
            shared->screen = source == CaptureSource::Window ? Size{333, 222} : Size{900, 700};
            CaptureBackends backends;
            backends.grabber = std::move(shared);
            return backends;
        },
        [] { return std::string("Nessuna scorciatoia globale."); });
    bool selectUsable = true;
    wizard.setSetupRunner([&](CCaptureSetupDialog& setup) {
        EXPECT_TRUE(asked.empty()) << "shared before the mode was chosen";
        EXPECT_EQ(setup.problemLabel()->text(), QStringLiteral("Nessuna scorciatoia globale."));
        setup.regionList()->setCurrentIndex(int(c.mode));
        if (c.mode == RegionMode::Rectangle)
            setup.setRegion(Rect{10, 20, 110, 70});
        selectUsable = setup.selectButton()->isEnabled();
        setup.accept();
        return setup.result();
    });
    wizard.setCaptureRunner([](CCaptureDialog& capture) {
        capture.toggleCapture(false);
        capture.finish();
        return capture.result();
    });
    std::unique_ptr<QuibProjectDocument> project = wizard.run();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(asked, std::vector<CaptureSource>{c.asked});
    EXPECT_EQ(project->doc().frameSize, c.frame);
    EXPECT_EQ(project->doc().frameCount(), 1);
    // The desktop's own dialog picks the window.
    EXPECT_EQ(selectUsable, c.mode == RegionMode::Rectangle);

    // Finishing without a grab makes no project and gives the main window back.
    asked.clear();
    wizard.setCaptureRunner([](CCaptureDialog& capture) {
        capture.finish();
        return capture.result();
    });
    EXPECT_EQ(wizard.run(), nullptr);
    EXPECT_TRUE(mainWindow->isVisible() && mainWindow->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, WizardSourceTest,
    ::testing::Values(SourceCase{RegionMode::Screen, CaptureSource::Screen, Size{900, 700}},
                      SourceCase{RegionMode::Rectangle, CaptureSource::Screen, Size{100, 50}},
                      SourceCase{RegionMode::Window, CaptureSource::Window, Size{333, 222}}));

}  // namespace
}  // namespace quib

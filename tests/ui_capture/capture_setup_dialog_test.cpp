#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWidget>

#include "../ui/ui_test_support.h"
#include "fake_grabber.h"
#include "model/quib_doc.h"
#include "ui/capture_setup_dialog.h"
#include "ui/region_picker.h"

using namespace quib;

namespace {

class CaptureSetupDialogTest : public ::testing::Test, public test::WithApplication {
protected:
    void SetUp() override {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
        dialog = std::make_unique<CCaptureSetupDialog>(doc, grabber, lastRate, mainWindow.get());
        dialog->setMessageFunction([this](const QString& text) { messages << text; });
    }
    void TearDown() override {
        dialog.reset();
        mainWindow.reset();
        QApplication::processEvents();
    }
    void choose(RegionMode mode) { dialog->regionList()->setCurrentIndex(int(mode)); }

    test::FakeGrabber grabber;
    CQuibDoc doc;
    int lastRate = 3;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<CCaptureSetupDialog> dialog;
    QStringList messages;
};

}  // namespace

TEST_F(CaptureSetupDialogTest, OpensOnTheWholeScreenWithCapturingOnAndTimedCaptureOff) {
    EXPECT_TRUE(dialog->startCapturing());
    EXPECT_FALSE(dialog->timedCapture());
    EXPECT_EQ(dialog->regionMode(), RegionMode::Screen);
    EXPECT_EQ(dialog->region(), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(dialog->regionLabel()->text(), QStringLiteral("(0, 0) - (640, 480)"));
    EXPECT_EQ(dialog->rateEdit()->text(), QStringLiteral("3"));
    EXPECT_FALSE(dialog->rateEdit()->isEnabled());
    EXPECT_FALSE(dialog->problemLabel()->isVisibleTo(dialog.get()));
}

TEST_F(CaptureSetupDialogTest, ChoosingScreenAgainResetsTheRegionOtherEntriesKeepIt) {
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
    EXPECT_EQ(lastRate, 3);

    dialog->rateEdit()->setText(QStringLiteral("12"));
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(lastRate, 12);
    EXPECT_EQ(dialog->rate(), 12);
}

TEST_F(CaptureSetupDialogTest, SettingsButtonOpensTheProjectSettingsOnTheNewProject) {
    CQuibDoc* seen = nullptr;
    dialog->setSettingsFunction([&](CQuibDoc& project) {
        seen = &project;
        return true;
    });
    dialog->settingsButton()->click();
    EXPECT_EQ(seen, &doc);
}

TEST_F(CaptureSetupDialogTest, EscapeDuringAPickKeepsTheRegion) {
    dialog->setRegion(Rect{1, 2, 3, 4});
    choose(RegionMode::Rectangle);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->picker()->pressAt(Point{100, 100});
    dialog->picker()->moveTo(Point{200, 200});
    dialog->picker()->abort();
    EXPECT_EQ(dialog->region(), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(dialog->regionLabel()->text(), QStringLiteral("(1, 2) - (3, 4)"));
}

TEST_F(CaptureSetupDialogTest, CancelEndsAPickUnderWay) {
    choose(RegionMode::Window);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->reject();
    EXPECT_EQ(dialog->picker(), nullptr);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(CaptureSetupDialogTest, UnreadableScreenStillAllowsARectangle) {
    grabber.failGrabs = true;
    choose(RegionMode::Rectangle);
    dialog->beginPick();
    ASSERT_NE(dialog->picker(), nullptr);
    dialog->picker()->pressAt(Point{5, 6});
    dialog->picker()->releaseAt(Point{50, 60});
    EXPECT_EQ(dialog->region(), (Rect{5, 6, 50, 60}));
}

TEST_F(CaptureSetupDialogTest, MouseDragOnTheLayerSpansTheRectangle) {
    choose(RegionMode::Rectangle);
    dialog->beginPick();
    RegionPicker* picker = dialog->picker();
    ASSERT_NE(picker, nullptr);
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(320, 240));
    QTest::mouseMove(picker, QPoint(200, 100));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(dialog->region(), (Rect{100, 60, 320, 240}));
    EXPECT_EQ(dialog->picker(), nullptr);
}

TEST_F(CaptureSetupDialogTest, ClickWithoutDragIsRefusedOnOkWhileCapturing) {
    choose(RegionMode::Rectangle);
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
    EXPECT_EQ(dialog->regionLabel()->text(), QStringLiteral("(15, 25) - (315, 225)"));
    EXPECT_EQ(dialog->commonSizesList()->currentText(), QStringLiteral("Personalizzate"));

    // The screen is 640 x 480: 640 x 480 moves to the corner, a larger size stays as large.
    const struct {
        QString entry;
        Rect region;
    } sizes[] = {
        {QStringLiteral("640 x 480"), Rect{0, 0, 640, 480}},
        {QStringLiteral("1280 x 720"), Rect{0, 0, 1280, 720}},
    };
    for (const auto& size : sizes) {
        dialog->setRegion(Rect{15, 25, 315, 225});
        const int index = dialog->commonSizesList()->findText(size.entry);
        ASSERT_GT(index, 0);
        dialog->commonSizesList()->setCurrentIndex(index);
        emit dialog->commonSizesList()->activated(index);
        EXPECT_EQ(dialog->region(), size.region) << size.entry.toStdString();
        EXPECT_EQ(dialog->regionField(2)->value(), size.region.width());
    }
    dialog->setRegion(Rect{100, 50, 900, 650});
    EXPECT_EQ(dialog->commonSizesList()->currentText(), QStringLiteral("800 x 600"));
}

TEST_F(CaptureSetupDialogTest, ChoicesShowTheLastModeAndCheckBoxes) {
    const CaptureWizardChoices last{1, true, true, true, true, QRect(10, 20, 640, 480)};
    dialog->applyChoices(last);
    EXPECT_EQ(dialog->regionMode(), RegionMode::Rectangle);
    EXPECT_EQ(dialog->region(), (Rect{10, 20, 650, 500}));
    EXPECT_TRUE(dialog->timedCapture());
    EXPECT_TRUE(dialog->clickCapture());
    EXPECT_TRUE(dialog->rateEdit()->isEnabled());
    EXPECT_FALSE(mainWindow->isVisible());
    const CaptureWizardChoices read = dialog->choices();
    EXPECT_EQ(read.regionMode, 1);
    EXPECT_TRUE(read.startCapturing && read.hideMainWindow && read.timedCapture && read.clickCapture);
    EXPECT_EQ(read.rectangle, last.rectangle);
}

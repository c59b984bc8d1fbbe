#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "ui/progress_bar.h"
#include "ui/render_progress_dialog.h"
#include "ui/status_bar.h"
#include "ui_test_support.h"

namespace quib {
namespace {

class ProgressDialogTest : public ::testing::Test, protected test::WithApplication {
protected:
    void SetUp() override {
        test::ensureApplication();
        parent.show();
    }
    std::unique_ptr<RenderProgressDialog> makeDialog() {
        return std::make_unique<RenderProgressDialog>(&parent, [this] { return now; });
    }
    QWidget parent;
    int64_t now = 1000;
};

TEST_F(ProgressDialogTest, PositionZeroRestartsTheClockAndLeavesTheEstimate) {
    auto dialog = makeDialog();
    dialog->setRange(0, 10);
    now += 5000;
    dialog->setPosition(5);
    const QString estimate = dialog->remainingText();
    now += 9000;
    dialog->setPosition(0);
    EXPECT_EQ(dialog->elapsedText(), QStringLiteral("0 secs"));
    EXPECT_EQ(dialog->remainingText(), estimate);
}

TEST_F(ProgressDialogTest, DurationTextSwitchesToMinutesAtSixty) {
    EXPECT_EQ(RenderProgressDialog::durationText(20), QStringLiteral("20 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(59), QStringLiteral("59 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(60), QStringLiteral("1 min, 0 secs"));
    EXPECT_EQ(RenderProgressDialog::durationText(3725), QStringLiteral("62 min, 5 secs"));
}

TEST_F(ProgressDialogTest, CancelButtonAndEscapeSetTheFlagWithoutClosing) {
    auto dialog = makeDialog();
    dialog->cancelButton()->click();
    EXPECT_TRUE(dialog->cancelled());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cancelButton()->text(), QStringLiteral("&Annulla"));

    auto second = makeDialog();
    QTest::keyClick(second.get(), Qt::Key_Return);  // Enter neither cancels nor closes
    EXPECT_FALSE(second->cancelled());
    QTest::keyClick(second.get(), Qt::Key_Escape);
    EXPECT_TRUE(second->cancelled());
    EXPECT_TRUE(second->isVisible());
}

class StatusProgressTest : public ::testing::Test, protected test::WithApplication {
protected:
    void SetUp() override {
        test::ensureApplication();
        window.resize(1200, 30);
        bar = new QuibStatusBar(&window);
        bar->setGeometry(0, 0, 1200, 30);
        window.show();
    }
    QWidget window;
    QuibStatusBar* bar = nullptr;
};

TEST_F(StatusProgressTest, ShowsTheTextAndPlacesTheBarAfterIt) {
    CProgressBar progress(bar, QStringLiteral("Inizializzazione delle miniature..."), 40, 12);
    EXPECT_EQ(bar->messagePane()->text(), QStringLiteral("Inizializzazione delle miniature..."));
    EXPECT_FALSE(progress.isShown());
    progress.SetPos(3);
    ASSERT_TRUE(progress.isShown());
    EXPECT_EQ(progress.bar()->value(), 3);
    EXPECT_EQ(progress.bar()->maximum(), 12);
    QLabel* pane = bar->messagePane();
    const QFontMetrics fm = pane->fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("Inizializzazione delle miniature...")) +
                     4 * fm.horizontalAdvance(QLatin1Char(' '));
    const QRect geometry = progress.bar()->geometry();
    EXPECT_EQ(geometry.left(), left);
    EXPECT_EQ(geometry.width(), (pane->width() - left) * 40 / 100);
    EXPECT_EQ(geometry.top(), pane->height() / 10);
    EXPECT_EQ(geometry.height(), pane->height() - 2 * (pane->height() / 10));
}

TEST(StatusBarPanes, ProjectPanesStartEmptyAndIdleTextIsReady) {
    test::ensureApplication();
    QuibStatusBar bar;
    EXPECT_EQ(bar.messagePane()->text(), QStringLiteral("Pronto"));
    bar.setPaneText(QuibStatusBar::FrameNumber, QStringLiteral("Frame 1 di 3"));
    EXPECT_EQ(bar.pane(QuibStatusBar::FrameNumber)->text(), QStringLiteral("Frame 1 di 3"));
    bar.clearProjectPanes();
    EXPECT_TRUE(bar.pane(QuibStatusBar::FrameNumber)->text().isEmpty());
    const int spaces =
        bar.pane(QuibStatusBar::Sizes)->fontMetrics().horizontalAdvance(QString(36, QLatin1Char(' ')));
    EXPECT_GE(bar.pane(QuibStatusBar::Sizes)->minimumWidth(), spaces);
    bar.setLockIndicators(true, false);
    EXPECT_TRUE(bar.capsLockShown());
    EXPECT_FALSE(bar.numLockShown());
}

}  // namespace
}  // namespace quib

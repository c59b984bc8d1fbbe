#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <algorithm>

#include "capture/capture_session.h"
#include "model/quib_doc.h"
#include "ui/capture_dialog.h"

using namespace quib;

namespace {

class FlatGrabber : public ScreenGrabber {
public:
    Status grab(const Rect& region, Bitmap24& out) override {
        if (out.width != region.width() || out.height != region.height())
            out = Bitmap24(region.width(), region.height());
        std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0x20));
        return Status::success();
    }
    ScreenCursor grabCursor() override { return {}; }
    Size screenSize() override { return Size{640, 480}; }
    WindowAtPoint windowAt(Point) override { return {}; }
};

QApplication& app() {
    static int argc = 1;
    static char name[] = "capture_dialog_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

class CaptureDialogTest : public ::testing::Test {
protected:
    void TearDown() override {
        dialog.reset();
        mainWindowOwner.reset();
    }
    void SetUp() override {
        app();
        mainWindowOwner = std::make_unique<QWidget>();
        prepareCaptureProject(doc, kRegion);
        dialog =
            std::make_unique<CCaptureDialog>(grabber, nullptr, doc, kRegion, true, 3, mainWindowOwner.get());
        dialog->setMessageFunction([](const QString&) {});
    }
    static constexpr Rect kRegion{0, 0, 80, 60};
    FlatGrabber grabber;
    CQuibDoc doc;
    std::unique_ptr<QWidget> mainWindowOwner;
    std::unique_ptr<CCaptureDialog> dialog;
};

}  // namespace

TEST_F(CaptureDialogTest, FinishWithoutFramesCancelsAndCreatesNoProject) {
    EXPECT_FALSE(mainWindowOwner->isEnabled());
    dialog->finish();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_TRUE(mainWindowOwner->isEnabled());
}

TEST_F(CaptureDialogTest, SingleGrabsSetCaptionAndCounterAndFinishAccepts) {
    for (int i = 0; i < 3; ++i)
        dialog->toggleCapture(false);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quib:3 Frames"));
    EXPECT_EQ(dialog->counterLabel()->text(), QStringLiteral("3"));
    dialog->finish();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(CaptureDialogTest, ShiftTogglesTimedCaptureAtTheRate) {
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
}

TEST_F(CaptureDialogTest, CancelWithFramesAsksAndNoKeepsTheSession) {
    dialog->toggleCapture(false);
    bool asked = false;
    dialog->setConfirmFunction([&](const QString& q) {
        asked = q.startsWith(QStringLiteral("Siete sicuri"));
        return false;
    });
    dialog->reject();
    EXPECT_TRUE(asked);
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_FALSE(mainWindowOwner->isEnabled());
    dialog->setConfirmFunction([](const QString&) { return true; });
    dialog->reject();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(mainWindowOwner->isEnabled());
}

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <algorithm>

#include "capture/capture_frame.h"
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

TEST_F(CaptureDialogTest, ShiftTogglesTimedCaptureAtTheRateAndSingleGrabsCountOnUntilFinishAccepts) {
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
    // Single grabs set the caption and counter too; finishing with frames accepts.
    for (int i = 0; i < 3; ++i)
        dialog->toggleCapture(false);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quib:5 Frames"));
    EXPECT_EQ(dialog->counterLabel()->text(), QStringLiteral("5"));
    dialog->finish();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
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

namespace {

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

}  // namespace

TEST(CaptureDialogClicks, ClicksInTheRegionCaptureButNotOnOurWindowsAndPauseStillGrabs) {
    app();
    const Rect region{0, 0, 400, 300};
    FlatGrabber grabber;
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
    EXPECT_EQ(doc.frames[2].textBox.rect, (Rect{240, 180, 320, 240}));  // Pause: the usual place
    dialog.finish();
    EXPECT_FALSE(keys.clicks);
}

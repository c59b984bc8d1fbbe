#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "../ui/ui_test_support.h"
#include "capture/capture_frame.h"
#include "capture/capture_session.h"
#include "capture/null_backends.h"
#include "fake_grabber.h"
#include "ui/capture_backends.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/new_project_wizard.h"
#include "ui/quib_project_document.h"
#include "ui/region_picker.h"

using namespace quib;

namespace {

class NewProjectWizardTest : public ::testing::Test, public test::WithApplication {
protected:
    void SetUp() override {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
        wizard = std::make_unique<NewProjectWizard>(mainWindow.get(), lastRate);
        wizard->setBackendsFunction([this] {
            CaptureBackends backends;
            backends.grabber = std::make_unique<FakeGrabberRef>(grabber);
            backends.problem = "Nessun display X11";
            return backends;
        });
    }

    // The wizard owns its backends; this one forwards to the test's grabber.
    struct FakeGrabberRef : ScreenGrabber {
        explicit FakeGrabberRef(test::FakeGrabber& g) : target(g) {}
        Status grab(const Rect& r, Bitmap24& out) override { return target.grab(r, out); }
        ScreenCursor grabCursor() override { return target.grabCursor(); }
        Size screenSize() override { return target.screenSize(); }
        WindowAtPoint windowAt(Point p) override { return target.windowAt(p); }
        std::vector<WindowNode> listWindows() override { return target.listWindows(); }
        test::FakeGrabber& target;
    };

    // Step 1 picks a rectangle by dragging and hides the main window; step 2 grabs `frames`
    // frames and ends with "&Termina".
    void captureFrames(int frames, bool timed = false) {
        wizard->setSetupRunner([this, timed](CCaptureSetupDialog& setup) {
            setup.hideMainWindowCheck()->setChecked(true);
            setup.regionList()->setCurrentIndex(int(RegionMode::Rectangle));
            setup.beginPick();
            setup.picker()->pressAt(Point{210, 150});
            setup.picker()->releaseAt(Point{10, 30});
            setup.timedCaptureCheck()->setChecked(timed);
            setup.accept();
            return setup.result();
        });
        wizard->setCaptureRunner([this, frames](CCaptureDialog& capture) {
            mainWindowVisibleDuringCapture = mainWindow->isVisible();
            mainWindowEnabledDuringCapture = mainWindow->isEnabled();
            for (int i = 0; i < frames; ++i)
                capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    }

    test::FakeGrabber grabber;
    int lastRate = 3;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<NewProjectWizard> wizard;
    bool mainWindowVisibleDuringCapture = true;
    bool mainWindowEnabledDuringCapture = true;
};

}  // namespace

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
    EXPECT_EQ(doc.currentImage.width, 120);
    // A window of ours over the region is left out of the picture (blue, green, red bytes) and
    // comes back after the grab.
    const uint8_t* p = doc.currentImage.pixel(60, 50);
    EXPECT_NE(std::vector<uint8_t>(p, p + 3), (std::vector<uint8_t>{0xA0, 0x50, 0x20}));
    EXPECT_TRUE(shown.isVisible());
}

namespace {

// Through the desktop portal the screen is shared after the setup, for the source its mode asks.
struct SourceCase {
    RegionMode mode;
    CaptureSource asked;
    Size frame;  // the shared monitor is 900 x 700, the shared window 333 x 222
};

class WizardSourceTest : public NewProjectWizardTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(WizardSourceTest, TheSetupModeDecidesWhatThePortalShares) {
    const SourceCase& c = GetParam();
    std::vector<CaptureSource> asked;
    wizard->setSourceBackendsFunction(
        [&](CaptureSource source) {
            asked.push_back(source);
            struct Shared : FakeGrabberRef {
                using FakeGrabberRef::FakeGrabberRef;
                Size size;
                Size screenSize() override { return size; }
            };
            auto shared = std::make_unique<Shared>(grabber);
            shared->size = source == CaptureSource::Window ? Size{333, 222} : Size{900, 700};
            CaptureBackends backends;
            backends.grabber = std::move(shared);
            return backends;
        },
        [] { return std::string("Nessuna scorciatoia globale."); });
    bool selectUsable = true;
    wizard->setSetupRunner([&](CCaptureSetupDialog& setup) {
        EXPECT_TRUE(asked.empty()) << "shared before the mode was chosen";
        EXPECT_EQ(setup.problemLabel()->text(), QStringLiteral("Nessuna scorciatoia globale."));
        setup.regionList()->setCurrentIndex(int(c.mode));
        if (c.mode == RegionMode::Rectangle)
            setup.setRegion(Rect{10, 20, 110, 70});
        selectUsable = setup.selectButton()->isEnabled();
        setup.accept();
        return setup.result();
    });
    wizard->setCaptureRunner([](CCaptureDialog& capture) {
        capture.toggleCapture(false);
        capture.finish();
        return capture.result();
    });
    std::unique_ptr<QuibProjectDocument> project = wizard->run();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(asked, std::vector<CaptureSource>{c.asked});
    EXPECT_EQ(project->doc().frameSize, c.frame);
    EXPECT_EQ(project->doc().frameCount(), 1);
    // The desktop's own dialog picks the window.
    EXPECT_EQ(selectUsable, c.mode == RegionMode::Rectangle);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, WizardSourceTest,
    ::testing::Values(SourceCase{RegionMode::Screen, CaptureSource::Screen, Size{900, 700}},
                      SourceCase{RegionMode::Rectangle, CaptureSource::Screen, Size{100, 50}},
                      SourceCase{RegionMode::Window, CaptureSource::Window, Size{333, 222}}));

}  // namespace

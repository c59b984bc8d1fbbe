#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

#include "../capture/test_screen_pattern.h"
#include "../capture/x11_display_fixture.h"
#include "../ui/ui_test_support.h"
#include "capture/x11_screen_grabber.h"
#include "model/quib_doc.h"
#include "ui/capture_backends.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/new_project_wizard.h"
#include "ui/quib_project_document.h"
#include "ui/region_picker.h"

using namespace quib;

namespace {

// The widgets stay on the offscreen platform; the screen they capture is a private Xvfb.
class X11WizardTest : public quib::testing::X11DisplayTest, public test::WithApplication {
protected:
    void SetUp() override {
        X11DisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        client().paintRoot(640, 480, quib::testing::testScreenRgb);
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
        wizard = std::make_unique<NewProjectWizard>(mainWindow.get(), lastRate);
        wizard->setBackendsFunction([] {
            CaptureBackends backends;
            Status status;
            backends.grabber = X11ScreenGrabber::open(displayName(), status);
            EXPECT_TRUE(status.ok()) << status.message();
            return backends;
        });
        wizard->setCaptureRunner([this](CCaptureDialog& capture) {
            for (int i = 0; i < framesToGrab; ++i)
                capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    }

    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<NewProjectWizard> wizard;
    int lastRate = 3;
    int framesToGrab = 2;
};

}  // namespace

TEST_F(X11WizardTest, DraggedRectangleIsCapturedIntoAProjectOfItsSize) {
    const Rect expected{37, 21, 37 + 101, 21 + 77};  // 3W not a multiple of 4
    wizard->setSetupRunner([&](CCaptureSetupDialog& setup) {
        setup.regionList()->setCurrentIndex(int(RegionMode::Rectangle));
        setup.beginPick();
        // The still picture is the real screen.
        EXPECT_EQ(setup.picker()->picture().pixel(300, 200)[2],
                  uint8_t(quib::testing::testScreenRgb(300, 200) >> 16));
        setup.picker()->pressAt(Point{expected.right, expected.bottom});
        setup.picker()->moveTo(Point{90, 60});
        setup.picker()->releaseAt(Point{expected.left, expected.top});
        setup.accept();
        return setup.result();
    });
    std::unique_ptr<QuibProjectDocument> project = wizard->run();
    ASSERT_NE(project, nullptr);
    CQuibDoc& doc = project->doc();
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.frameSize, (Size{101, 77}));
    EXPECT_EQ(doc.backgroundSize, (Size{101, 77}));
    ASSERT_TRUE(doc.SelectFrame(0, true));
    EXPECT_EQ(doc.currentImage, quib::testing::expectedGrab(expected, Size{640, 480}));
}

TEST_F(X11WizardTest, PickedWindowPartlyOffScreenGivesAClampedProject) {
    const uint32_t window = client().createWindow(Rect{520, 300, 760, 420}, 0);
    framesToGrab = 1;
    wizard->setSetupRunner([&](CCaptureSetupDialog& setup) {
        setup.regionList()->setCurrentIndex(int(RegionMode::Window));
        setup.beginPick();
        setup.picker()->moveTo(Point{600, 350});
        EXPECT_EQ(setup.picker()->highlightedWindow(), window);
        setup.picker()->pressAt(Point{600, 350});
        EXPECT_EQ(setup.region(), (Rect{520, 300, 640, 420}));
        setup.accept();
        return setup.result();
    });
    std::unique_ptr<QuibProjectDocument> project = wizard->run();
    client().destroyWindow(window);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->doc().frameSize, (Size{120, 120}));
    EXPECT_EQ(project->doc().frameCount(), 1);
}

TEST_F(X11WizardTest, FinishWithoutAGrabCreatesNoProject) {
    framesToGrab = 0;
    wizard->setSetupRunner([](CCaptureSetupDialog& setup) {
        setup.accept();
        return setup.result();
    });
    EXPECT_EQ(wizard->run(), nullptr);
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_TRUE(mainWindow->isEnabled());
}

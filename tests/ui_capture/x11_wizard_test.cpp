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
    void setUpOnDisplay() override {
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
        wizard->setCaptureRunner([](CCaptureDialog& capture) {
            capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    }

    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<NewProjectWizard> wizard;
    int lastRate = 3;
};

}  // namespace

TEST_F(X11WizardTest, PickedWindowPartlyOffScreenGivesAClampedProject) {
    const uint32_t window = client().createWindow(Rect{520, 300, 760, 420}, 0);
    wizard->setSetupRunner([&](CCaptureSetupDialog& setup) {
        setup.regionList()->setCurrentIndex(int(RegionMode::Window));
        setup.beginPick();
        // The still picture is the real screen.
        EXPECT_EQ(setup.picker()->picture().pixel(300, 200)[2],
                  uint8_t(quib::testing::testScreenRgb(300, 200) >> 16));
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
    EXPECT_EQ(project->doc().frameCount(), 1);
    EXPECT_EQ(project->doc().frameSize, (Size{120, 120}));
    EXPECT_EQ(project->doc().backgroundSize, (Size{120, 120}));
}

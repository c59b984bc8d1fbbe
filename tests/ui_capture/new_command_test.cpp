#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "../ui/ui_test_support.h"
#include "capture/capture_session.h"
#include "ui/app_settings.h"
#include "ui/capture_dialog.h"
#include "ui/capture_setup_dialog.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/new_project_wizard.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"
#include "ui/region_picker.h"

using namespace quib;

namespace {

// The main window with the project document plugged in, "Nuovo" scripted through the wizard.
struct NewCommandTest : test::WithApplication, ::testing::Test {
    NewCommandTest() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.setMessageFunction([](const QString&) {});
        frame.show();
    }
    ~NewCommandTest() override { NewProjectWizard::setDefaultRunners({}, {}); }

    CQuibDoc& activeDoc() const {
        return dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc();
    }

    test::TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
};

}  // namespace

TEST_F(NewCommandTest, NewWithCapturedFramesOpensAProjectOfTheRegionsSize) {
    settings.previousTimedCaptureFrameRate = 5;
    int rateSeen = 0;
    NewProjectWizard::setDefaultRunners(
        [](CCaptureSetupDialog& setup) {
            setup.regionList()->setCurrentIndex(int(RegionMode::Rectangle));
            setup.beginPick();
            setup.picker()->pressAt(Point{20, 10});
            setup.picker()->releaseAt(Point{180, 130});
            setup.accept();
            return setup.result();
        },
        [&](CCaptureDialog& capture) {
            rateSeen = capture.session().rate();
            capture.toggleCapture(false);
            capture.toggleCapture(false);
            capture.finish();
            return capture.result();
        });
    frame.run(cmd::FileNew);
    ASSERT_EQ(frame.childFrames().size(), 1);
    EXPECT_EQ(rateSeen, 5);
    EXPECT_EQ(activeDoc().frameCount(), 2);
    EXPECT_EQ(activeDoc().frameSize, (Size{160, 120}));
    EXPECT_EQ(activeDoc().backgroundSize, (Size{160, 120}));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.isEnabled());
}

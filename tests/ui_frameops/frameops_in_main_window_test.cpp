#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QSpinBox>
#include <QTemporaryDir>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/command_router.h"
#include "ui/crop_frames_dialog.h"
#include "ui/insert_frames_dialog.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/windows_dialog.h"

namespace quib {
namespace {

// The frame operations reached from the main window's actions, with the window's own settings.
struct FrameOpsInMainWindow : test::FrameOpsFixture {
    FrameOpsInMainWindow()
        : appSettings(AppSettings::defaults(temp.folder())), frame(appSettings, temp.store()) {
        FrameOperationCommands::interaction().settings = nullptr;
        installProjectDocument(frame);
        frame.resize(1000, 700);
        frame.show();
        frame.addProjectWindow(QuibProjectDocument::createNew());
    }
    CQuibDoc& doc() { return dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document())->doc(); }

    test::TempSettings temp;
    AppSettings appSettings;
    CMainFrame frame;
    QTemporaryDir dir;
};

// Progress that notes whether the main window took input while it ran.
struct WindowWatchingProgress : Progress {
    QWidget* window = nullptr;
    std::string* text = nullptr;
    bool* windowEnabledDuringWork = nullptr;
    void setText(const std::string& t) override { *text = t; }
    void setRange(int, int) override {}
    void setPosition(int) override { *windowEnabledDuringWork = window->isEnabled(); }
};

TEST_F(FrameOpsInMainWindow, CroppingShowsItsProgressWhileTheWindowIsDisabled) {
    FrameOperationCommands::interaction().runInsertDialog = [](InsertFramesDialog& dialog) {
        dialog.widthEdit()->setValue(80);
        dialog.heightEdit()->setValue(60);
        return true;
    };
    frame.action(cmd::InsertFrames)->trigger();
    ASSERT_EQ(doc().frameCount(), 1);
    std::string text;
    bool enabledDuringWork = true;
    QuibProjectDocument::interaction().statusProgress = [&]() -> std::unique_ptr<Progress> {
        auto progress = std::make_unique<WindowWatchingProgress>();
        progress->window = &frame;
        progress->text = &text;
        progress->windowEnabledDuringWork = &enabledDuringWork;
        return progress;
    };
    FrameOperationCommands::interaction().runCropDialog = [](CropFramesDialog& dialog) {
        dialog.setBounds(0, 0, 39, 29);
        return true;
    };
    ASSERT_TRUE(frame.action(cmd::CropFrames)->isEnabled());
    frame.action(cmd::CropFrames)->trigger();
    QuibProjectDocument::interaction().statusProgress = {};
    EXPECT_EQ(doc().frameSize, (Size{40, 30}));
    EXPECT_EQ(text, "Ritaglio...");
    EXPECT_FALSE(enabledDuringWork);
    EXPECT_TRUE(frame.isEnabled());
}

TEST_F(FrameOpsInMainWindow, TheWindowsCommandListsTheOpenProjects) {
    frame.addProjectWindow(QuibProjectDocument::createNew());
    int listed = -1;
    FrameOperationCommands::interaction().runWindowsDialog = [&](WindowsDialog& dialog) {
        listed = dialog.windowList()->count();
    };
    ASSERT_TRUE(frame.action(cmd::WindowsDialog)->isEnabled());
    frame.action(cmd::WindowsDialog)->trigger();
    EXPECT_EQ(listed, 2);
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"
#include "support/files_and_commands.h"
#include "x11_display_fixture.h"

using namespace quib;

namespace {

class X11CliCaptureTest : public quib::testing::X11DisplayTest {
protected:
    void setUpOnDisplay() override {
        // A fresh server remaps its keyboard on the first synthetic key; let that happen before
        // quib-cli takes the keys, so that no press is lost to it.
        client().tapKey(kShiftLeft);
    }

    // Starts quib-cli on the test's display; the time limit only stops a broken run from hanging.
    FILE* start(const std::string& args) {
        const std::string command = "DISPLAY=" + std::string(displayName()) + " timeout 20 " +
                                    std::string(QUIB_BUILD_DIR) + "/cli/quib-cli capture " + args + " 2>'" +
                                    m_dir + "/stderr.txt'";
        return popen(command.c_str(), "r");
    }
    static int finish(FILE* process) {
        const int status = pclose(process);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    bool waitForStderr(const std::string& text) {
        for (int i = 0; i < 400 && stderrText().find(text) == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return stderrText().find(text) != std::string::npos;
    }
    // Waits for quib-cli to end well and loads what it saved into doc.
    void finishAndLoad(FILE* process) {
        ASSERT_EQ(finish(process), 0);
        NullProgress progress;
        Status status = LoadProject(out(), doc, progress);
        ASSERT_TRUE(status.ok()) << status.message();
    }
    std::string out() const { return m_dir + "/out.qbk"; }
    std::string stderrText() const { return quib::test::readFile(m_dir + "/stderr.txt"); }

    CQuibDoc doc;
    quib::test::TempDir m_temp;
    const std::string m_dir = m_temp.dir();
};

}  // namespace

TEST_F(X11CliCaptureTest, TimedGrabsAreSavedAsAProjectOfTheRegionSizeAndABadRegionIsAUsageError) {
    EXPECT_EQ(finish(start("'" + out() + "' --region 0,0,0,10")), 2);
    FILE* process = start("'" + out() + "' --region 5,6,101,77 --count 3 --interval 20");
    ASSERT_NE(process, nullptr);
    ASSERT_NO_FATAL_FAILURE(finishAndLoad(process));
    EXPECT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(doc.frameSize, (Size{101, 77}));
    for (const Frame& frame : doc.frames)
        EXPECT_EQ(frame.displayTime, 20u);
}

TEST_F(X11CliCaptureTest, PauseGrabsOneFrameEachAndShiftPauseRunsTimedCapture) {
    FILE* process = start("'" + out() + "' --region 0,0,64,48 --count 6 --interval 10 --hotkey");
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(waitForStderr("Pausa"));  // quib-cli holds the keys
    ASSERT_TRUE(client().tapKey(kPause));
    ASSERT_TRUE(client().tapKey(kPause));
    // Timed capture fills up the rest without further presses.
    ASSERT_TRUE(client().tapKey(kPause, kShiftLeft));
    ASSERT_NO_FATAL_FAILURE(finishAndLoad(process));
    EXPECT_EQ(doc.frameCount(), 6);
    EXPECT_EQ(doc.frameSize, (Size{64, 48}));
    // Single grabs show for no set time, timed ones for the interval.
    for (int i = 0; i < doc.frameCount(); ++i)
        EXPECT_EQ(doc.frames[size_t(i)].displayTime, i < 2 ? 0u : 10u) << i;
}

TEST_F(X11CliCaptureTest, OnClickGrabsOneFramePerClickInTheRegionWithTheCursorThere) {
    FILE* process = start("'" + out() + "' --region 100,50,200,150 --count 2 --on-click");
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(waitForStderr("cliccare"));
    const Point clicks[] = {{20, 20}, {150, 120}, {250, 170}};  // the first is outside the region
    for (const Point& at : clicks) {
        client().movePointer(at.x, at.y);
        ASSERT_TRUE(client().clickButton(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_NO_FATAL_FAILURE(finishAndLoad(process));
    ASSERT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.frameSize, (Size{200, 150}));
    const int hotX = doc.frames[0].cursorPos.x - 50, hotY = doc.frames[0].cursorPos.y - 70;
    EXPECT_EQ(doc.frames[1].cursorPos, (Point{150 + hotX, 120 + hotY}));
}

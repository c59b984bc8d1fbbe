#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "capture/capture_backend.h"
#include "capture/capture_messages.h"
#include "capture/x11_global_hot_key.h"
#include "capture/x11_screen_grabber.h"
#include "x11_display_fixture.h"

using namespace quib;

namespace {

// Keysyms, as X numbers them.
constexpr unsigned long kNumLock = 0xFF7F;
constexpr unsigned long kCapsLock = 0xFFE5;
constexpr unsigned long kLetterA = 0x61;

class X11GlobalHotKeyTest : public quib::testing::X11DisplayTest {
protected:
    void setUpOnDisplay() override {
        Status status;
        m_hotKey = X11GlobalHotKey::open(displayName(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        ASSERT_NE(m_hotKey, nullptr);
    }
    void TearDown() override {
        if (m_hotKey) {
            client().setLocked(kNumLock, false);
            client().setLocked(kCapsLock, false);
        }
    }

    Status start() {
        return m_hotKey->start([this](HotKeyAction action) { m_actions.push_back(action); });
    }

    void tap(unsigned long keysym, unsigned long held = 0) {
        ASSERT_TRUE(client().tapKey(keysym, held)) << "no key for keysym " << keysym;
    }

    void waitForActions(size_t count) {
        quib::testing::pumpHotKey(*m_hotKey, [&] { return m_actions.size() >= count; });
    }

    std::unique_ptr<X11GlobalHotKey> m_hotKey;
    std::vector<HotKeyAction> m_actions;
};

}  // namespace

TEST_F(X11GlobalHotKeyTest, PauseCapturesShiftPauseTogglesAlsoUnderLocksAndStopReleasesTheKey) {
    ASSERT_TRUE(start().ok());
    tap(kLetterA);
    tap(kPause);
    tap(kPause, kShiftLeft);
    waitForActions(2);
    const auto capture = HotKeyAction::Capture, toggle = HotKeyAction::ToggleTimedCapture;
    EXPECT_EQ(m_actions, (std::vector<HotKeyAction>{capture, toggle})) << "other keys are not delivered";

    client().setLocked(kNumLock, true);
    ASSERT_TRUE(client().isLocked(kNumLock)) << "Num Lock did not lock";
    tap(kPause);
    tap(kPause, kShiftLeft);
    waitForActions(4);
    EXPECT_EQ(m_actions, (std::vector<HotKeyAction>{capture, toggle, capture, toggle}));

    // Stopping releases the key for other programs.
    EXPECT_FALSE(client().canGrabKey(kPause));
    m_hotKey->stop();
    EXPECT_FALSE(m_hotKey->isActive());
    EXPECT_TRUE(client().canGrabKey(kPause));
    tap(kPause);
    m_hotKey->processEvents();
    EXPECT_EQ(m_actions.size(), 4u);
}

TEST_F(X11GlobalHotKeyTest, KeyHeldByAnotherProgramIsReportedAndNothingIsKept) {
    Status status;
    std::unique_ptr<X11GlobalHotKey> first = X11GlobalHotKey::open(displayName(), status);
    ASSERT_TRUE(first && first->start([](HotKeyAction) {}).ok());
    Status second = start();
    EXPECT_FALSE(second.ok());
    EXPECT_EQ(second.message(), captureText::HotKeyTaken);
    EXPECT_FALSE(m_hotKey->isActive());
    first->stop();
    EXPECT_TRUE(start().ok());
}

TEST_F(X11GlobalHotKeyTest, KeyMovedToAnotherKeycodeIsGrabbedAgainAndTheCallbackMayStopTheKeys) {
    ASSERT_TRUE(m_hotKey
                    ->start([this](HotKeyAction action) {
                        m_actions.push_back(action);
                        m_hotKey->stop();
                    })
                    .ok());
    const unsigned newCode = client().moveKeysymToFreeKey(kPause);
    ASSERT_NE(newCode, 0u) << "no free key to move Pause to";
    m_hotKey->processEvents();  // sees the new keyboard map
    client().tapKeycode(newCode);
    waitForActions(1);
    EXPECT_EQ(m_actions, (std::vector<HotKeyAction>{HotKeyAction::Capture}));
    EXPECT_FALSE(m_hotKey->isActive());
    client().restoreKeysym(kPause, newCode);
}

TEST_F(X11GlobalHotKeyTest, HeldKeyCountsAsOnePress) {
    if (!m_hotKey->heldKeyRepeatsIgnored())
        GTEST_SKIP() << "built without XKB: held keys repeat";
    ASSERT_TRUE(start().ok());
    unsigned oldDelay = 0, oldInterval = 0;
    ASSERT_TRUE(client().setAutoRepeat(5, 5, oldDelay, oldInterval));
    // Hold Pause long enough for the server to repeat it many times over.
    ASSERT_TRUE(client().sendKey(kPause, true));
    quib::testing::pumpHotKey(
        *m_hotKey, [] { return false; }, std::chrono::milliseconds(300));
    ASSERT_TRUE(client().sendKey(kPause, false));
    tap(kPause, kShiftLeft);
    waitForActions(2);
    client().setAutoRepeat(oldDelay, oldInterval, oldDelay, oldInterval);
    EXPECT_EQ(m_actions,
              (std::vector<HotKeyAction>{HotKeyAction::Capture, HotKeyAction::ToggleTimedCapture}));
}

TEST(X11DisplayGone, KeysTurnInactiveAndGrabsFail) {
    if (!quib::testing::XvfbServer::installed())
        GTEST_SKIP() << "Xvfb is not installed: X11 tests skipped";
    auto server = std::make_unique<quib::testing::XvfbServer>("64x64x24");
    ASSERT_TRUE(server->running());
    Status status;
    auto hotKey = X11GlobalHotKey::open(server->display().c_str(), status);
    auto grabber = X11ScreenGrabber::open(server->display().c_str(), status);
    ASSERT_TRUE(hotKey && grabber);
    ASSERT_TRUE(hotKey->start([](HotKeyAction) {}).ok());

    server.reset();
    quib::testing::pumpHotKey(*hotKey, [&] { return !hotKey->isActive(); });
    EXPECT_FALSE(hotKey->isActive());
    EXPECT_EQ(hotKey->fileDescriptor(), -1);
    Bitmap24 out;
    Status grabbed = grabber->grab(Rect{0, 0, 8, 8}, out);
    EXPECT_FALSE(grabbed.ok());
    EXPECT_EQ(grabbed.message(), captureText::NoX11Display);
    EXPECT_EQ(grabber->grabCursor().picture.image.width, 32);
}

// The X11 backends themselves are chosen in quib-cli's capture tests.
TEST_F(X11GlobalHotKeyTest, OnX11CapsLockAndNumLockAreRead) {
    CaptureBackendChoice choice;
    choice.displayName = displayName();
    std::unique_ptr<LockKeyReader> reader = openLockKeyReader(choice);
    const struct { bool caps, num; } states[] = {{true, false}, {true, true}, {false, true}, {false, false}};
    for (const auto& state : states) {
        client().setLocked(kCapsLock, state.caps);
        client().setLocked(kNumLock, state.num);
        const LockKeys keys = reader->read();
        EXPECT_TRUE(keys.known);
        EXPECT_EQ(keys.capsLock, state.caps) << state.caps << state.num;
        EXPECT_EQ(keys.numLock, state.num) << state.caps << state.num;
    }
}

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "capture/capture_session.h"
#include "capture/click_capture.h"
#include "capture/x11_global_hot_key.h"
#include "capture/x11_screen_grabber.h"
#include "model/quib_doc.h"
#include "support/child_process.h"
#include "support/project_contents.h"
#include "test_screen_pattern.h"
#include "x11_display_fixture.h"

using namespace quib;

namespace {

constexpr unsigned long kPause = 0xFF13;
constexpr unsigned long kShiftLeft = 0xFFE1;
const Rect kRegion{10, 20, 10 + 203, 20 + 151};  // 3W not a multiple of 4

class X11CaptureSessionTest : public quib::testing::X11DisplayTest {
protected:
    void SetUp() override {
        X11DisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        client().paintRoot(640, 480, quib::testing::testScreenRgb);
        Status status;
        m_grabber = X11ScreenGrabber::open(displayName(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        prepareCaptureProject(m_doc, kRegion);
        m_session = std::make_unique<CaptureSession>(*m_grabber, m_doc, kRegion, 4);
    }

    // The keys on the test display, handing what they hear to the session.
    void startKeys() {
        Status status;
        m_keys = X11GlobalHotKey::open(displayName(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        ASSERT_TRUE(m_keys->start([this](HotKeyAction a) { m_session->handleHotKey(a); }).ok());
    }

    std::unique_ptr<X11ScreenGrabber> m_grabber;
    CQuibDoc m_doc;
    std::unique_ptr<CaptureSession> m_session;
    std::unique_ptr<X11GlobalHotKey> m_keys;
};

// The menu helper on the display, over a window of the given colours (the first shown at first),
// holding the keyboard or reacting on a mouse press as mode says. Ends when this object goes.
class MenuHelper : public quib::test::ChildProcess {
public:
    MenuHelper(const char* mode, const char* display, const Rect& window, std::vector<uint32_t> colours) {
        std::vector<std::string> args{QUIB_MENU_HELPER,
                                      mode,
                                      display,
                                      std::to_string(window.left),
                                      std::to_string(window.top),
                                      std::to_string(window.width()),
                                      std::to_string(window.height())};
        for (uint32_t colour : colours) {
            char rgb[8];
            std::snprintf(rgb, sizeof rgb, "%06x", colour);
            args.emplace_back(rgb);
        }
        start(args, {}, {.input = true, .output = true});
    }
};

// The colour 0xRRGGBB of a pixel of a captured frame.
uint32_t framePixel(const CQuibDoc& doc, int index, int x, int y) {
    const Bitmap24 picture = test::storedFramePicture(doc, index);
    if (picture.pixels.empty())
        return 0xFFFFFFFF;
    const uint8_t* p = picture.pixel(x, y);
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

}  // namespace

TEST_F(X11CaptureSessionTest, TenGrabsStoreThePackedRegionAndTheCursorWithDefaultsAndTheLastCurrent) {
    client().movePointer(50, 60);
    ASSERT_TRUE(m_session->captureOnce()) << m_session->lastError();
    EXPECT_EQ(framePixel(m_doc, 0, 5, 7), quib::testing::testScreenRgb(15, 27));  // region at (10, 20)
    const ScreenCursor cursor = m_grabber->grabCursor();
    EXPECT_EQ(m_doc.frames[0].cursorPos,
              (Point{50 - 10 - cursor.picture.hotSpot.x, 60 - 20 - cursor.picture.hotSpot.y}));
    // Near the screen's corner the cursor keeps a negative position.
    client().movePointer(2, 3);
    ASSERT_TRUE(m_session->captureOnce()) << m_session->lastError();
    EXPECT_LT(m_doc.frames[1].cursorPos.x, 0);
    EXPECT_LT(m_doc.frames[1].cursorPos.y, 0);
    for (int i = 2; i < 10; ++i)
        ASSERT_TRUE(m_session->captureOnce()) << m_session->lastError();
    EXPECT_EQ(m_doc.frameCount(), 10);
    EXPECT_EQ(m_session->counter(), 10);
    EXPECT_EQ(m_doc.currentFrameIndex, 9);
    const Size size{kRegion.width(), kRegion.height()};
    EXPECT_EQ(m_doc.frameSize, size);
    EXPECT_EQ(m_doc.backgroundSize, size);
    for (int i = 0; i < 10; ++i) {
        const Frame& f = m_doc.frames[size_t(i)];
        EXPECT_TRUE(f.title.empty());
        EXPECT_TRUE(f.textBox.text.empty());
        EXPECT_EQ(f.displayTime, 0u);
        EXPECT_EQ(f.textBox.rect, (Rect{3 * size.cx / 5, 3 * size.cy / 5, 4 * size.cx / 5, 4 * size.cy / 5}));
        EXPECT_EQ(f.nextButton.pos, (Point{size.cx - 60, size.cy - 24}));
        EXPECT_EQ(f.prevButton.pos, (Point{size.cx - 120, size.cy - 24}));
        EXPECT_EQ(f.cursorVisible, 1u);
        EXPECT_EQ(f.textBox.font.logFont.face(), "DejaVu Sans");  // the project's style: 10 points
        EXPECT_EQ(f.textBox.font.logFont.height, -13);
        EXPECT_EQ(f.textBox.visible, 0u);
        EXPECT_EQ(f.prevButton.visible, 0u);
        EXPECT_EQ(f.nextButton.visible, 0u);
        EXPECT_EQ(f.gotoButtons[0].visible, 0u);
        EXPECT_EQ(f.gotoButtons[1].visible, 0u);
        EXPECT_GT(f.cursorWidth, 0);
        EXPECT_EQ(f.cursorPixels.size(), size_t(f.cursorWidth) * size_t(f.cursorHeight) * 4);
    }
}

TEST_F(X11CaptureSessionTest, PauseGrabsOnceAndShiftPauseTogglesTimedCapture) {
    ASSERT_NO_FATAL_FAILURE(startKeys());

    ASSERT_TRUE(client().tapKey(kPause));
    quib::testing::pumpHotKey(*m_keys, [&] { return m_session->counter() == 1; });
    EXPECT_EQ(m_session->counter(), 1);
    EXPECT_FALSE(m_session->timedCaptureRunning());

    // Ticks do nothing until Shift+Pause starts timed capture.
    EXPECT_FALSE(m_session->tick());
    ASSERT_TRUE(client().tapKey(kPause, kShiftLeft));
    quib::testing::pumpHotKey(*m_keys, [&] { return m_session->timedCaptureRunning(); });
    ASSERT_TRUE(m_session->timedCaptureRunning());
    EXPECT_EQ(m_session->intervalMs(), 250);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(m_session->tick());
    EXPECT_EQ(m_session->counter(), 4);

    ASSERT_TRUE(client().tapKey(kPause, kShiftLeft));
    quib::testing::pumpHotKey(*m_keys, [&] { return !m_session->timedCaptureRunning(); });
    EXPECT_FALSE(m_session->timedCaptureRunning());
    EXPECT_FALSE(m_session->tick());
    EXPECT_EQ(m_session->counter(), 4);
}

TEST_F(X11CaptureSessionTest, PauseCapturesWhileAnotherProgramHoldsTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(startKeys());
    if (!m_keys->hearsKeysDuringGrabs())
        GTEST_SKIP() << "no XInput 2.1 raw key events: keys are not heard during grabs";

    // A "menu" inside the region, holding the keyboard.
    const Rect menu{kRegion.left + 30, kRegion.top + 40, kRegion.left + 130, kRegion.top + 100};
    MenuHelper program("keyboard", displayName(), menu, {0x12AB34});
    ASSERT_EQ(program.readLine(), "grabbed");

    ASSERT_TRUE(client().tapKey(kPause));
    // The press went to the grabbing program, not through our passive grab.
    EXPECT_EQ(program.readLine(), "pause");
    quib::testing::pumpHotKey(*m_keys, [&] { return m_session->counter() == 1; });
    ASSERT_EQ(m_session->counter(), 1);

    ASSERT_TRUE(client().tapKey(kPause, kShiftLeft));
    quib::testing::pumpHotKey(*m_keys, [&] { return m_session->timedCaptureRunning(); });
    EXPECT_TRUE(m_session->timedCaptureRunning());
    EXPECT_EQ(m_session->counter(), 1);

    // The frame shows the screen with the menu open.
    auto pixelAt = [&](int x, int y) { return framePixel(m_doc, 0, x, y); };
    EXPECT_EQ(pixelAt(30, 40), 0x12AB34u);
    EXPECT_EQ(pixelAt(129, 99), 0x12AB34u);
    EXPECT_EQ(pixelAt(29, 40), quib::testing::testScreenRgb(kRegion.left + 29, kRegion.top + 40));
}

TEST_F(X11CaptureSessionTest, ClickStoresTheScreenAsItWasBeforeThePressWithTheCursorThere) {
    ASSERT_NO_FATAL_FAILURE(startKeys());
    if (!m_keys->hearsKeysDuringGrabs())
        GTEST_SKIP() << "no XInput 2.1 raw events: clicks are not heard";
    ClickCapture clicks(*m_grabber, m_doc, kRegion);
    ASSERT_TRUE(m_keys->watchClicks([&](Point p) {
        bool stored = false;
        EXPECT_TRUE(clicks.click(p, ClickCapture::Clock::now(), stored).ok());
    }));
    // A program that changes at once on the press, inside the region.
    const Rect target{kRegion.left + 30, kRegion.top + 40, kRegion.left + 130, kRegion.top + 100};
    constexpr uint32_t kBefore = 0x12AB34, kAfter = 0xAB1234;
    MenuHelper program("click", displayName(), target, {kBefore, kAfter});
    ASSERT_EQ(program.readLine(), "mapped");

    const Point presses[] = {{kRegion.left + 50, kRegion.top + 60}, {kRegion.left + 120, kRegion.top + 90}};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(clicks.sample().ok());
        client().movePointer(presses[i].x, presses[i].y);
        ASSERT_TRUE(client().clickButton(1));
        ASSERT_EQ(program.readLine(), "pressed");
        quib::testing::pumpHotKey(*m_keys, [&] { return clicks.counter() == i + 1; });
        ASSERT_EQ(clicks.counter(), i + 1);
    }
    // A click outside the region makes no frame.
    client().movePointer(kRegion.right + 20, kRegion.bottom + 20);
    ASSERT_TRUE(client().clickButton(3));
    quib::testing::pumpHotKey(
        *m_keys, [] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(clicks.counter(), 2);

    // Each frame shows the program as it was before its press.
    EXPECT_EQ(framePixel(m_doc, 0, 50, 60), kBefore);
    EXPECT_EQ(framePixel(m_doc, 1, 50, 60), kAfter);
    Bitmap24 now;
    ASSERT_TRUE(m_grabber->grab(target, now).ok());
    EXPECT_EQ(now.pixel(0, 0)[2], 0x12);  // pressed twice: back to the first colour
    const ScreenCursor cursor = m_grabber->grabCursor();
    const Size size{kRegion.width(), kRegion.height()};
    for (int i = 0; i < 2; ++i) {
        const Point at{presses[i].x - kRegion.left, presses[i].y - kRegion.top};
        const Frame& f = m_doc.frames[size_t(i)];
        EXPECT_EQ(f.cursorPos, (Point{at.x - cursor.picture.hotSpot.x, at.y - cursor.picture.hotSpot.y}));
        EXPECT_EQ(f.textBox.rect, textBoxBesideClick(at, size));
        EXPECT_EQ(f.textBox.visible, 0u);
    }
}

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

const Rect kRegion{10, 20, 10 + 203, 20 + 151};  // 3W not a multiple of 4

class X11CaptureSessionTest : public quib::testing::X11DisplayTest {
protected:
    void setUpOnDisplay() override {
        client().paintRoot(640, 480, quib::testing::testScreenRgb);
        Status status;
        m_grabber = X11ScreenGrabber::open(displayName(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        prepareCaptureProject(m_doc, kRegion);
        m_session = std::make_unique<CaptureSession>(*m_grabber, m_doc, kRegion, 4);
        // The keys on the test display, handing what they hear to the session.
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

TEST_F(X11CaptureSessionTest, PauseCapturesWhileAnotherProgramHoldsTheKeyboard) {
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
    EXPECT_EQ(framePixel(m_doc, 0, 30, 40), 0x12AB34u);
    EXPECT_EQ(framePixel(m_doc, 0, 29, 40),
              quib::testing::testScreenRgb(kRegion.left + 29, kRegion.top + 40));
}

TEST_F(X11CaptureSessionTest, ClickStoresTheScreenAsItWasBeforeThePressWithTheCursorThere) {
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

    // Each frame shows the program as it was before its press, with the cursor at the press.
    EXPECT_EQ(framePixel(m_doc, 0, 50, 60), kBefore);
    EXPECT_EQ(framePixel(m_doc, 1, 50, 60), kAfter);
    const Point hotSpot = m_grabber->grabCursor().picture.hotSpot;
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(m_doc.frames[size_t(i)].cursorPos,
                  (Point{presses[i].x - kRegion.left - hotSpot.x, presses[i].y - kRegion.top - hotSpot.y}));
}

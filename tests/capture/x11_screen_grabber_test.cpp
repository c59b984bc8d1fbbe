#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "capture/capture_messages.h"
#include "capture/cursor_rules.h"
#include "capture/x11_screen_grabber.h"
#include "test_screen_pattern.h"
#include "x11_display_fixture.h"

using namespace quib;

namespace {

constexpr Size kScreen{640, 480};

class X11ScreenGrabberTest : public quib::testing::X11DisplayTest {
protected:
    void setUpOnDisplay() override {
        client().paintRoot(kScreen.cx, kScreen.cy, quib::testing::testScreenRgb);
        Status status;
        m_grabber = X11ScreenGrabber::open(displayName(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        ASSERT_NE(m_grabber, nullptr);
    }

    std::unique_ptr<X11ScreenGrabber> m_grabber;
};

std::vector<uint8_t> pixelAt(const Bitmap32& image, int x, int y) {
    return std::vector<uint8_t>(image.pixel(x, y), image.pixel(x, y) + 4);
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

TEST_F(X11ScreenGrabberTest, GrabsGiveTheScreenPixelsWithoutTheCursorAndBlackOutsideOnBothPaths) {
    EXPECT_EQ(m_grabber->screenSize(), kScreen);
    ASSERT_TRUE(client().defineRootCursor(16, 16, Point{0, 0},
                                          std::vector<uint32_t>(16 * 16, argb(255, 255, 255, 255))));
    client().movePointer(20, 20);
    const Rect regions[] = {
        {0, 0, kScreen.cx, kScreen.cy},
        {13, 7, 18, 10},      // 15 bytes a row
        {101, 33, 308, 250},  // 207 pixels a row
        {-10, 470, 31, 490},
        {600, -3, 650, 5},
        {700, 500, 720, 510},  // wholly off the screen
        {10, 10, 10, 30},      // empty
    };
    for (bool shared : {true, false}) {
        if (!shared)
            m_grabber->disableSharedMemory();
        for (const Rect& region : regions) {
            SCOPED_TRACE(::testing::Message() << (shared ? "shared " : "plain ") << region.left << ","
                                              << region.top << "," << region.right << "," << region.bottom);
            Bitmap24 out(4, 4);
            std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0x55));
            ASSERT_TRUE(m_grabber->grab(region, out).ok());
            if (region.width() == 0) {
                EXPECT_TRUE(out.width == 0 && out.pixels.empty());
                continue;
            }
            EXPECT_EQ(out, quib::testing::expectedGrab(region, kScreen));
            if (region.left == 0 && region.top == 0) {
                EXPECT_EQ(m_grabber->lastGrabUsedSharedMemory(), shared);
            }
        }
    }
    // A region too large for memory is refused.
    Bitmap24 out;
    const Status status = m_grabber->grab(Rect{-2000000000, -2000000000, 2000000000, 2000000000}, out);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), captureText::RegionTooLarge);
}

TEST_F(X11ScreenGrabberTest, CursorPictureHotSpotAndPositionAreRead) {
    std::vector<uint32_t> pixels(16 * 16, 0);
    pixels[0] = argb(255, 255, 0, 0);  // red
    pixels[16 * 15 + 15] = argb(255, 0, 0, 0);
    ASSERT_TRUE(client().defineRootCursor(16, 16, Point{3, 5}, pixels));
    client().movePointer(100, 80);

    ScreenCursor cursor = m_grabber->grabCursor();
    EXPECT_EQ(cursor.screenPos, (Point{100, 80}));
    EXPECT_EQ(cursor.picture.hotSpot, (Point{3, 5}));
    ASSERT_EQ(cursor.picture.image.width, 32);
    ASSERT_EQ(cursor.picture.image.height, 32);
    const Bitmap32& image = cursor.picture.image;
    EXPECT_EQ(pixelAt(image, 0, 0), (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(image, 15, 15), (std::vector<uint8_t>{0, 0, 0, 255}));

    EXPECT_EQ(cursorPosInRegion(cursor.screenPos, cursor.picture.hotSpot, Rect{50, 50, 250, 250}),
              (Point{47, 25}));
}

TEST_F(X11ScreenGrabberTest,
       WindowUnderThePointIsFoundWithItsFrameAndWindowsAreListedTopmostFirstWithChildren) {
    const uint32_t window = client().createWindow(Rect{100, 60, 300, 180}, 2);
    WindowAtPoint found = m_grabber->windowAt(Point{150, 100});
    EXPECT_EQ(found.window, window);
    EXPECT_EQ(found.frame, (Rect{100, 60, 304, 184}));
    EXPECT_EQ(found.region, found.frame);
    found = m_grabber->windowAt(Point{10, 10});
    EXPECT_EQ(found.window, 0u);
    EXPECT_EQ(found.region, (Rect{0, 0, kScreen.cx, kScreen.cy}));
    client().destroyWindow(window);

    // Listed topmost first, with their visible children.
    const uint32_t lower = client().createWindow(Rect{30, 40, 230, 190}, 2);
    const uint32_t child = client().createWindow(Rect{10, 20, 60, 50}, 1, lower);
    const uint32_t upper = client().createWindow(Rect{200, 100, 400, 300}, 0);
    const std::vector<WindowNode> windows = m_grabber->listWindows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].id, upper);
    EXPECT_EQ(windows[0].frame, (Rect{200, 100, 400, 300}));
    EXPECT_TRUE(windows[0].children.empty());
    EXPECT_EQ(windows[1].id, lower);
    EXPECT_EQ(windows[1].frame, (Rect{30, 40, 234, 194}));
    ASSERT_EQ(windows[1].children.size(), 1u);
    EXPECT_EQ(windows[1].children[0].id, child);
    // Inside the parent's border: 30 + 2 + 10, 40 + 2 + 20; its own border counts on both sides.
    EXPECT_EQ(windows[1].children[0].frame, (Rect{42, 62, 42 + 52, 62 + 32}));
    client().destroyWindow(upper);
    client().destroyWindow(lower);
}

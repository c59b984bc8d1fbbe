// The capture dialog and the main window on a real X display with a window manager: whatever
// the region, no frame shows a pixel of them.

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "../capture/xvfb_server.h"
#include "capture/capture_frame.h"
#include "capture/x11_screen_grabber.h"
#include "model/quib_doc.h"
#include "support/project_contents.h"
#include "support/test_application.h"
#include "ui/capture_dialog.h"

using namespace quib;

namespace {

constexpr uint32_t kBackground = 0x336699;
constexpr Size kScreen{1024, 768};

// A private display with a window manager and a plain background, and the application on it.
class X11WindowManagerCaptureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!quib::testing::XvfbServer::installed() || !quib::test::programInstalled("openbox"))
            return;
        server = new quib::testing::XvfbServer("1024x768x24");
        if (!server->running())
            return;
        display = xcb_connect(server->display().c_str(), nullptr);
        if (xcb_connection_has_error(display))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(display)).data->root;
        const uint32_t background = kBackground;
        xcb_change_window_attributes(display, root, XCB_CW_BACK_PIXEL, &background);
        xcb_clear_area(display, 0, root, 0, 0, 0, 0);
        std::free(xcb_get_input_focus_reply(display, xcb_get_input_focus(display), nullptr));
        windowManager.start({"openbox", "--sm-disable"}, {"DISPLAY=" + server->display()});
        // Ready once it announces itself on the root window.
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            display, xcb_intern_atom(display, 0, 24, "_NET_SUPPORTING_WM_CHECK"), nullptr);
        for (int i = 0; atom && i < 200 && !managed; ++i) {
            xcb_get_property_reply_t* property = xcb_get_property_reply(
                display, xcb_get_property(display, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
            managed = property && xcb_get_property_value_length(property) == 4;
            std::free(property);
            if (!managed)
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        std::free(atom);
        // The application goes on this display, not the offscreen platform of the other tests.
        setenv("DISPLAY", server->display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        quib::test::application();
    }
    static void TearDownTestSuite() {
        windowManager.stop();
        if (display)
            xcb_disconnect(display);
        delete server;
    }

    void SetUp() override {
        if (!quib::testing::XvfbServer::installed() || !quib::test::programInstalled("openbox"))
            GTEST_SKIP() << "Xvfb or openbox is not installed: window manager tests skipped";
        ASSERT_TRUE(server && server->running() && display && managed) << "no display with a window manager";
        Status status;
        grabber = X11ScreenGrabber::open(server->display().c_str(), status);
        ASSERT_TRUE(status.ok()) << status.message();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setStyleSheet(QStringLiteral("background: #e02020;"));
        mainWindow->resize(300, 200);
    }

    // Shows a window and waits until the window manager has it on the screen. A window manager
    // still starting on a loaded machine may lose the first map request: map it again.
    static bool showExposed(QWidget* window) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            window->show();
            if (QTest::qWaitForWindowExposed(window, 10000))
                return true;
            window->hide();
        }
        return false;
    }

    // Pixels of the region in the screen that are not the background.
    int foreignPixels(const Rect& region) {
        Bitmap24 screen;
        EXPECT_TRUE(grabber->grab(region, screen).ok());
        return countForeign(screen.pixels);
    }
    static int countForeign(const std::vector<uint8_t>& pixels) {
        int count = 0;
        for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
            const uint32_t rgb = uint32_t(pixels[i + 2]) << 16 | uint32_t(pixels[i + 1]) << 8 | pixels[i];
            count += rgb != kBackground;
        }
        return count;
    }
    int foreignPixelsInFrame(const CQuibDoc& doc, int index) {
        const Bitmap24 picture = test::storedFramePicture(doc, index);
        EXPECT_FALSE(picture.pixels.empty());
        return countForeign(picture.pixels);
    }

    static inline quib::testing::XvfbServer* server = nullptr;
    static inline xcb_connection_t* display = nullptr;
    static inline quib::test::ChildProcess windowManager;
    static inline bool managed = false;
    std::unique_ptr<X11ScreenGrabber> grabber;
    std::unique_ptr<QWidget> mainWindow;
};

}  // namespace

TEST_F(X11WindowManagerCaptureTest, FullScreenFramesHoldNoPixelOfOurWindows) {
    const Rect region{0, 0, kScreen.cx, kScreen.cy};
    CQuibDoc doc;
    prepareCaptureProject(doc, region);
    CCaptureDialog dialog(*grabber, nullptr, doc, region, true, 10, mainWindow.get());
    dialog.setMessageFunction([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
    EXPECT_FALSE(dialog.placedOutsideRegion());
    mainWindow->move(100, 100);
    ASSERT_TRUE(showExposed(mainWindow.get()));
    ASSERT_TRUE(showExposed(&dialog));
    QTest::qWait(200);
    ASSERT_GT(foreignPixels(region), 1000) << "the windows are not on the screen";

    dialog.toggleCapture(false);
    dialog.toggleCapture(true);
    dialog.timedTick();
    dialog.toggleCapture(false);
    ASSERT_EQ(doc.frameCount(), 2);
    for (int i = 0; i < doc.frameCount(); ++i)
        EXPECT_EQ(foreignPixelsInFrame(doc, i), 0) << "frame " << i;
    // Back on the screen after the grabs.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(mainWindow->isVisible());
}

TEST_F(X11WindowManagerCaptureTest, ControllerStandsBesideASmallerRegionAndStaysShown) {
    const Rect region{0, 0, 500, 768};
    CQuibDoc doc;
    prepareCaptureProject(doc, region);
    // The main window half over the region waits hidden until the session ends.
    mainWindow->move(400, 500);
    ASSERT_TRUE(showExposed(mainWindow.get()));
    CCaptureDialog dialog(*grabber, nullptr, doc, region, false, 1, mainWindow.get());
    EXPECT_TRUE(dialog.placedOutsideRegion());
    EXPECT_FALSE(mainWindow->isVisible());
    ASSERT_TRUE(showExposed(&dialog));
    QTest::qWait(200);
    const QRect placed = dialog.frameGeometry();
    EXPECT_FALSE(placed.intersects(QRect(0, 0, 500, 768))) << placed.x() << "," << placed.y();
    EXPECT_GT(foreignPixels(Rect{placed.left(), placed.top(), placed.right() + 1, placed.bottom() + 1}),
              1000);

    dialog.toggleCapture(false);
    ASSERT_EQ(doc.frameCount(), 1);
    EXPECT_EQ(foreignPixelsInFrame(doc, 0), 0);
    EXPECT_TRUE(dialog.isVisible());
    dialog.finish();
    EXPECT_TRUE(mainWindow->isVisible());
}

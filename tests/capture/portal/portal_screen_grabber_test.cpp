#include "capture/portal_screen_grabber.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>

#include "capture/capture_backend.h"
#include "capture/capture_messages.h"
#include "portal_desktop_suite.h"
#include "portal_test_picture.h"

using namespace quib;
using namespace quib::testing;

namespace {

constexpr Size kStream{320, 240};

class PortalScreenGrabberTest : public PortalDesktopSuite {
protected:
    void TearDown() override {
        m_grabber.reset();
        PortalDesktopSuite::TearDown();
    }

    Status open(PortalScreenCastOptions options = {}) {
        Status status;
        m_grabber.reset();
        m_grabber = PortalScreenGrabber::open(s_desktop->bus(), options, status);
        EXPECT_EQ(status.ok(), m_grabber != nullptr);
        return status;
    }

    std::unique_ptr<PortalScreenGrabber> m_grabber;
};

TEST_F(PortalScreenGrabberTest, MetadataStream_GivesExactPixelsAndTheCursorApart) {
    ASSERT_EQ(s_desktop->startPortal({}), "");
    ASSERT_TRUE(open().ok());
    EXPECT_TRUE(m_grabber->cursorAsMetadata());
    EXPECT_EQ(m_grabber->screenSize(), kStream);

    // Partly beyond the right and bottom edges: those parts come out black.
    for (const Rect region : {Rect{0, 0, kStream.cx, kStream.cy}, Rect{250, 200, 351, 263}}) {
        Bitmap24 out;
        ASSERT_TRUE(m_grabber->grab(region, out).ok());
        EXPECT_EQ(out, expectedGrab(region, kStream)) << region.left << "," << region.top;
    }

    const ScreenCursor cursor = m_grabber->grabCursor();
    EXPECT_FALSE(cursor.inPicture);
    EXPECT_EQ(cursor.screenPos, (Point{kTestCursorX, kTestCursorY}));
    EXPECT_EQ(cursor.picture.hotSpot, (Point{kTestHotSpotX, kTestHotSpotY}));
    // Its colours come through; the clear half is transparent, as in every cursor picture.
    const Bitmap32& image = cursor.picture.image;
    ASSERT_EQ(image.width, 32);
    uint8_t sent[4];
    testCursorPixel(5, 7, sent);
    EXPECT_EQ(std::vector<uint8_t>(image.pixel(5, 7), image.pixel(5, 7) + 4),
              std::vector<uint8_t>(sent, sent + 4));
    EXPECT_EQ(image.pixel(20, 7)[3], 0);
    EXPECT_EQ(m_grabber->takeNotice(), "");
    EXPECT_TRUE(s_desktop->logged("cursor_mode=4")) << s_desktop->log();

    EXPECT_TRUE(s_desktop->logged("persist_mode=2 restore_token=\n")) << s_desktop->log();
}

TEST_F(PortalScreenGrabberTest, WithoutCursorMetadata_CursorStaysInThePictureAndTheUserIsToldOnce) {
    ASSERT_EQ(s_desktop->startPortal({"--cursor-modes", "3"}), "");
    ASSERT_TRUE(open().ok());
    EXPECT_FALSE(m_grabber->cursorAsMetadata());
    EXPECT_TRUE(s_desktop->logged("cursor_mode=2")) << s_desktop->log();

    const Rect region{kTestCursorX - kTestHotSpotX, kTestCursorY - kTestHotSpotY, kTestCursorX + 20,
                      kTestCursorY + 20};
    Bitmap24 out;
    ASSERT_TRUE(m_grabber->grab(region, out).ok());
    uint8_t cursorColour[4];
    testCursorPixel(0, 0, cursorColour);
    EXPECT_EQ(std::vector<uint8_t>(out.pixel(0, 0), out.pixel(0, 0) + 3),
              std::vector<uint8_t>(cursorColour, cursorColour + 3));

    EXPECT_TRUE(m_grabber->grabCursor().inPicture);
    EXPECT_EQ(m_grabber->takeNotice(), captureText::CursorInPicture);
    EXPECT_EQ(m_grabber->takeNotice(), "");
}

struct Refusal {
    std::vector<std::string> portalArgs;
    const char* message;
};

class PortalRefusalTest : public PortalScreenGrabberTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PortalRefusalTest, StartFails_WithAMessageAndWithoutHanging) {
    const Refusal& refusal = GetParam();
    if (!refusal.portalArgs.empty()) {
        ASSERT_EQ(s_desktop->startPortal(refusal.portalArgs), "");
    }
    PortalScreenCastOptions options;
    options.callTimeoutMs = 2000;
    options.choiceTimeoutMs = 500;
    const Status status = open(options);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), refusal.message);
}

INSTANTIATE_TEST_SUITE_P(Answers, PortalRefusalTest,
                         ::testing::Values(Refusal{{"--refuse", "1"}, captureText::PortalCancelled},
                                           Refusal{{"--refuse", "2"}, captureText::PortalRefused},
                                           Refusal{{"--silent"}, captureText::PortalTimedOut},
                                           Refusal{{}, captureText::PortalUnavailable}));

TEST_F(PortalScreenGrabberTest, StreamEnds_GrabSaysSoInsteadOfWaiting) {
    ASSERT_EQ(s_desktop->startPortal({"--frames", "20"}), "");
    ASSERT_TRUE(open().ok());
    Bitmap24 out;
    Status status;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((status = m_grabber->grab(Rect{0, 0, 8, 8}, out)).ok() &&
           std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents();
    EXPECT_EQ(status.message(), captureText::StreamEnded);
}

TEST_F(PortalScreenGrabberTest, PortalBackends_WhenRefused_SayWhy) {
    ASSERT_EQ(s_desktop->startPortal({"--refuse", "2"}), "");
    CaptureBackendChoice choice;
    choice.portal = true;
    choice.busAddress = s_desktop->busAddress().c_str();
    const CaptureBackends backends = openCaptureBackends(choice);
    EXPECT_FALSE(backends.screen.ok());
    EXPECT_EQ(backends.problem, captureText::PortalRefused);
    ASSERT_NE(backends.grabber, nullptr);
    ASSERT_NE(backends.hotKey, nullptr);
    EXPECT_FALSE(backends.hotKey->isActive());
}

}  // namespace

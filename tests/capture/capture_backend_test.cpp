#include <gtest/gtest.h>

#include "capture/capture_backend.h"
#include "capture/capture_messages.h"
#include "fake_grabber.h"

using namespace quib;

// A display that cannot exist: there is no server behind it.
constexpr const char* kMissingDisplay = "/nonexistent/quib-test-socket:0";

TEST(CaptureBackend, WithoutADisplayTheHotKeySaysSoAndDoesNothing) {
    Status status;
    std::unique_ptr<GlobalHotKey> hotKey = createGlobalHotKey(status, kMissingDisplay);
    ASSERT_NE(hotKey, nullptr);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), captureText::NoX11Display);
    bool called = false;
    Status started = hotKey->start([&](HotKeyAction) { called = true; });
    EXPECT_FALSE(started.ok());
    EXPECT_EQ(started.message(), captureText::NoX11Display);
    EXPECT_FALSE(hotKey->isActive());
    EXPECT_EQ(hotKey->fileDescriptor(), -1);
    hotKey->processEvents();
    hotKey->stop();
    EXPECT_FALSE(called);
}

TEST(CaptureBackend, WithoutX11TheFallbackReadsTheScreenAndTheKeysSayWhyTheyDoNothing) {
    const struct {
        const char* name;
        bool x11;
        bool withFallback;
        const char* help;
    } cases[] = {
        {"another windowing system", false, true, "Usare il pulsante."},
        {"an X11 display that does not open", true, true, ""},
        {"no display and no fallback", true, false, ""},
    };
    for (const auto& c : cases) {
        CaptureBackendChoice choice;
        choice.x11 = c.x11;
        choice.displayName = kMissingDisplay;
        if (c.withFallback)
            choice.fallbackGrabber = []() -> std::unique_ptr<ScreenGrabber> {
                auto toolkitReader = std::make_unique<test::FakeGrabber>();
                toolkitReader->screen = Size{12, 34};
                return toolkitReader;
            };
        choice.noKeysHelp = c.help;
        CaptureBackends backends = openCaptureBackends(choice);
        ASSERT_NE(backends.grabber, nullptr) << c.name;
        ASSERT_NE(backends.hotKey, nullptr) << c.name;
        EXPECT_FALSE(backends.screen.ok()) << c.name;
        EXPECT_EQ(backends.screen.message(), captureText::NoX11Display) << c.name;
        EXPECT_EQ(backends.grabber->screenSize(), c.withFallback ? (Size{12, 34}) : Size{}) << c.name;
        EXPECT_FALSE(backends.hotKeyUsable()) << c.name;
        EXPECT_EQ(backends.problem, *c.help ? std::string(captureText::NoX11Display) + " " + c.help
                                            : std::string(captureText::NoX11Display))
            << c.name;
        EXPECT_FALSE(backends.hotKey->start([](HotKeyAction) {}).ok()) << c.name;
        if (!c.withFallback) {  // grabs fail with a black picture and no cursor
            Bitmap24 out;
            EXPECT_FALSE(backends.grabber->grab(Rect{0, 0, 7, 3}, out).ok());
            EXPECT_EQ(out, Bitmap24(7, 3));
            EXPECT_EQ(backends.grabber->grabCursor().picture.image.pixel(5, 5)[3], 0);
        }

        const LockKeys keys = openLockKeyReader(choice)->read();
        EXPECT_FALSE(keys.known) << c.name;
        EXPECT_FALSE(keys.capsLock || keys.numLock) << c.name;
    }
}

TEST(CaptureBackend, WaylandSessionsUseThePortalUnlessTheVariableSaysOtherwise) {
    const struct {
        const char* override;
        const char* waylandDisplay;
        CaptureBackendKind expected;
    } cases[] = {
        {nullptr, "", CaptureBackendKind::X11},
        {nullptr, "wayland-0", CaptureBackendKind::Portal},
        {"x11", "wayland-0", CaptureBackendKind::X11},
        {"portal", nullptr, CaptureBackendKind::Portal},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseCaptureBackend(c.override, c.waylandDisplay), c.expected)
            << (c.override ? c.override : "-") << " " << (c.waylandDisplay ? c.waylandDisplay : "-");
}

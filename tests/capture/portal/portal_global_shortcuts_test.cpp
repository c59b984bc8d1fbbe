#include "capture/portal_global_shortcuts.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <chrono>

#include "capture/capture_backend.h"
#include "capture/capture_messages.h"
#include "capture/capture_session.h"
#include "model/quib_doc.h"
#include "portal_desktop_suite.h"

using namespace quib;
using namespace quib::testing;

namespace {

const Rect kRegion{10, 20, 74, 68};

class PortalShortcutsTest : public PortalDesktopSuite {
protected:
    void TearDown() override {
        m_backends = {};
        PortalDesktopSuite::TearDown();
    }

    void openBackends(std::vector<std::string> portalArgs) {
        ASSERT_EQ(s_desktop->startPortal(std::move(portalArgs)), "");
        m_choice.portal = true;
        m_choice.busAddress = s_desktop->busAddress().c_str();
        m_choice.noKeysHelp = "Usare il pulsante.";
        m_backends = openCaptureBackends(m_choice);
        ASSERT_TRUE(m_backends.screen.ok()) << m_backends.screen.message();
    }

    // Runs Qt's event loop and the keys' descriptor, as the capture dialog does, until pred holds.
    template <typename Pred>
    void pumpUntil(Pred pred) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!pred() && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            pollfd p{m_backends.hotKey->fileDescriptor(), POLLIN, 0};
            if (poll(&p, 1, 5) > 0)
                m_backends.hotKey->processEvents();
        }
    }

    CaptureBackendChoice m_choice;
    CaptureBackends m_backends;
};

struct Press {
    const char* id;
    int framesStored;
    bool timedRunning;
};

class PortalShortcutPressTest : public PortalShortcutsTest, public ::testing::WithParamInterface<Press> {};

TEST_P(PortalShortcutPressTest, BothKeysAreBoundAndActivatedDrivesTheCaptureSession) {
    const Press& press = GetParam();
    openBackends({});
    // Both keys are bound, with their descriptions and preferred triggers.
    EXPECT_TRUE(m_backends.hotKeyUsable()) << m_backends.problem;
    const auto& keys = dynamic_cast<PortalGlobalShortcuts&>(*m_backends.hotKey);
    EXPECT_EQ(keys.boundShortcuts().at(1).trigger, "SHIFT+Pause");  // as the desktop answered
    EXPECT_TRUE(
        s_desktop->logged("BindShortcuts capture-frame description=Cattura un frame "
                          "preferred_trigger=Pause\nBindShortcuts timed-capture "
                          "description=Cattura temporizzata preferred_trigger=SHIFT+Pause\n"))
        << s_desktop->log();
    CQuibDoc doc;
    prepareCaptureProject(doc, kRegion);
    CaptureSession session(*m_backends.grabber, doc, kRegion, 4);
    ASSERT_TRUE(m_backends.hotKey->start([&](HotKeyAction a) { session.handleHotKey(a); }).ok());
    ASSERT_TRUE(m_backends.hotKey->isActive());

    // As the desktop does when the user presses the key bound to the id.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.quib.PortalTest"), QStringLiteral("Activate"));
    call.setArguments({QString::fromUtf8(press.id)});
    s_desktop->bus().call(call);
    pumpUntil([&] { return session.counter() > 0 || session.timedCaptureRunning(); });
    EXPECT_EQ(session.counter(), press.framesStored) << session.lastError();
    EXPECT_EQ(session.timedCaptureRunning(), press.timedRunning);
}

INSTANTIATE_TEST_SUITE_P(Keys, PortalShortcutPressTest,
                         ::testing::Values(Press{"capture-frame", 1, false},
                                           Press{"timed-capture", 0, true}));

struct Unbound {
    std::vector<std::string> portalArgs;
    const char* message;
    bool offered;  // known before binding, from the interface's presence
};

class PortalShortcutsUnboundTest : public PortalShortcutsTest,
                                   public ::testing::WithParamInterface<Unbound> {};

TEST_P(PortalShortcutsUnboundTest, TheUserIsToldWhyThePauseKeyDoesNotReachQuib) {
    openBackends(GetParam().portalArgs);
    EXPECT_FALSE(m_backends.hotKeyUsable());
    EXPECT_EQ(m_backends.problem, std::string(GetParam().message) + " Usare il pulsante.");
    EXPECT_FALSE(m_backends.hotKey->start([](HotKeyAction) {}).ok());
    EXPECT_FALSE(m_backends.hotKey->isActive());
    EXPECT_EQ(portalKeysProblem(m_choice), GetParam().offered ? "" : m_backends.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, PortalShortcutsUnboundTest,
    ::testing::Values(Unbound{{"--no-shortcuts"}, captureText::PortalNoKeys, false},
                      Unbound{{"--refuse-shortcuts", "2"}, captureText::PortalKeysRefused, true}));

}  // namespace

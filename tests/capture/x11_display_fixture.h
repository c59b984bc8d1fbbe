#pragma once

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <memory>

#include "capture/x11_global_hot_key.h"

#include "x11_test_client.h"
#include "xvfb_server.h"

namespace quib::testing {

// One private Xvfb per test program, and a client of the test's own for drawing and for sending
// input. Tests skip when Xvfb is not installed.
class X11DisplayTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override {
        if (!XvfbServer::installed())
            GTEST_SKIP() << "Xvfb is not installed: X11 tests skipped";
        if (!s_server)
            s_server = std::make_unique<XvfbServer>("640x480x24");
        ASSERT_TRUE(s_server->running()) << "Xvfb did not start";
        m_client = std::make_unique<X11TestClient>(displayName());
        ASSERT_TRUE(m_client->connected());
        setUpOnDisplay();
    }
    // What a suite prepares once the display is up.
    virtual void setUpOnDisplay() {}

    // Keysyms, as X numbers them.
    static constexpr unsigned long kPause = 0xFF13, kShiftLeft = 0xFFE1;

    static const char* displayName() { return s_server->display().c_str(); }
    X11TestClient& client() { return *m_client; }

private:
    static inline std::unique_ptr<XvfbServer> s_server;
    std::unique_ptr<X11TestClient> m_client;
};

// Lets the keys read what the server sent until done() holds or the time passes; the default
// bound only stops a broken test from hanging.
template <typename Done>
void pumpHotKey(X11GlobalHotKey& keys, Done done, std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        pollfd p{keys.fileDescriptor(), POLLIN, 0};
        poll(&p, 1, 10);
        keys.processEvents();
    }
}

}  // namespace quib::testing

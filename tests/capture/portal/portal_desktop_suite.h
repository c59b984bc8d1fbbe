#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "portal_test_desktop.h"

namespace quib::testing {

// One session for a whole test suite; each test starts its own portal and stops it.
class PortalDesktopSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_desktop = std::make_unique<PortalTestDesktop>();
        s_problem = s_desktop->start();
    }
    static void TearDownTestSuite() { s_desktop.reset(); }
    void SetUp() override { ASSERT_EQ(s_problem, "") << "the portal test session could not start"; }
    void TearDown() override { s_desktop->stopPortal(); }

    static inline std::unique_ptr<PortalTestDesktop> s_desktop;
    static inline std::string s_problem;
};

}  // namespace quib::testing

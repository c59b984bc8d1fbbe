#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <set>

#include "ui/child_frame.h"
#include "ui/command_router.h"
#include "ui/placeholder_document.h"
#include "ui_test_support.h"

namespace quib {
namespace {

// Handles the ids it is given and records every run in a shared log under its name.
struct RecordingHandler : CommandHandler {
    RecordingHandler(std::string name, std::set<int> ids, std::vector<std::string>* log, bool on = true)
        : name(std::move(name)), ids(std::move(ids)), log(log), on(on) {}
    bool handles(int id) const override { return ids.count(id) > 0; }
    void run(int) override { log->push_back(name); }
    bool enabled(int) const override { return on; }
    std::string name;
    std::set<int> ids;
    std::vector<std::string>* log;
    bool on;
};

class RouterTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    RecordingHandler main{"main", {1}, &log};
    RecordingHandler panel{"panel", {1, 2}, &log};
    RecordingHandler active{"active", {1, 2, 3}, &log};
    RecordingHandler other{"other", {1, 2, 3, 4}, &log};
    RecordingHandler document{"document", {1, 2, 3, 4, 5}, &log};
    CommandRouter router;

    void SetUp() override {
        router.setMainFrame(&main);
        router.setPanel(&panel);
        router.setActiveProject([this] { return ProjectCommandTargets{&active, &other, &document}; });
    }
};

// The chain is main window, panel, active view, other view, document.
TEST_F(RouterTest, EachCommandGoesToTheFirstLevelThatHandlesIt) {
    EXPECT_EQ(router.chain(), (std::vector<CommandHandler*>{&main, &panel, &active, &other, &document}));
    for (int id = 1; id <= 5; ++id)
        EXPECT_TRUE(router.dispatch(id));
    EXPECT_EQ(log, (std::vector<std::string>{"main", "panel", "active", "other", "document"}));
}

TEST_F(RouterTest, UnhandledCommandIsDisabledAndNotRun) {
    EXPECT_FALSE(router.isEnabled(99));
    EXPECT_FALSE(router.dispatch(99));
    EXPECT_TRUE(log.empty());
}

TEST_F(RouterTest, DisabledHandlerDecidesAndLaterLevelsAreNotAsked) {
    active.on = false;
    EXPECT_FALSE(router.isEnabled(3));
    EXPECT_FALSE(router.dispatch(3));
    EXPECT_TRUE(log.empty());
}

// A view widget that is also a routing level.
struct RecordingView : QWidget, RecordingHandler {
    RecordingView(std::string name, std::vector<std::string>* log)
        : RecordingHandler(std::move(name), {7}, log) {
        setFocusPolicy(Qt::StrongFocus);
    }
};

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

#include "fake_filters.h"

namespace quib {

using test::fakeFolder;
using test::firstThenSecond;

TEST(FilterTable, ExtensionMatchIgnoresCaseAndSplitsAtSemicolons) {
    const FilterTable table = firstThenSecond();
    EXPECT_NE(table.findFilterForExtension("JPEG"), nullptr);
    EXPECT_NE(table.findFilterForExtension("xy2"), nullptr);
    EXPECT_EQ(table.findFilterForExtension("jp"), nullptr);
    EXPECT_EQ(table.findFilterForExtension("jpg;jpeg"), nullptr);
    EXPECT_EQ(table.findFilterForExtension(""), nullptr);  // the empty list matches nothing
    EXPECT_TRUE(ExtensionListHas("a;Bb;c", "bB"));
    EXPECT_FALSE(ExtensionListHas("", ""));
    EXPECT_FALSE(ExtensionListHas(nullptr, "a"));
}

TEST(FilterTable, ResetEmptiesAndNoResetAppends) {
    FilterTable table = firstThenSecond();
    EXPECT_EQ(table.size(), 10);
    table.loadFilters(fakeFolder("second"), DefaultFilterTools(), 1, true);
    EXPECT_EQ(table.size(), 5);
    EXPECT_EQ(std::string_view(table.findFilterForExtension("jpg")->description), "Second|*.png;*.jpg");
}

TEST(FilterTable, HandsTheToolsToEveryPlugin) {
    static FilterTools tools{&std::malloc, &std::free, 1234};
    FilterTable table;
    table.loadFilters(fakeFolder("first"), &tools, 1, true);
    void* library = table.entry(0).library;
    using Seen = FilterTools* (*)();
    auto seen = reinterpret_cast<Seen>(dlsym(library, "FakeToolsSeen"));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen(), &tools);
    EXPECT_EQ(seen()->mainWindow, 1234u);
}

}  // namespace quib

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

#include "fake_filters.h"

namespace quib {

using test::fakeFolder;
using test::firstThenSecond;

TEST(FilterTable, RegistersRecordsSharingABitWithTheMask) {
    FilterTable table;
    const int added = table.loadFilters(fakeFolder("first"), DefaultFilterTools(), 1, true);
    // Of six records, the one with only bit 1 is left out with mask 1.
    EXPECT_EQ(added, 5);
    ASSERT_EQ(table.size(), 5);
    EXPECT_EQ(std::string_view(table.entry(0).caps->extensions), "jpg;jpeg");
    EXPECT_EQ(std::string_view(table.entry(1).caps->extensions), "xyz;XY2");  // write bit alone is enough
    EXPECT_EQ(table.findFilterForExtension("onlybit1"), nullptr);
}

TEST(FilterTable, MaskTwoTakesOnlyTheSecondBitRecord) {
    FilterTable table;
    EXPECT_EQ(table.loadFilters(fakeFolder("first"), DefaultFilterTools(), 2, true), 1);
    EXPECT_NE(table.findFilterForExtension("onlybit1"), nullptr);
}

TEST(FilterTable, FirstRegisteredTypeWinsForAnExtension) {
    const FilterTable table = firstThenSecond();
    const FilterCaps* jpg = table.findFilterForExtension("jpg");
    ASSERT_NE(jpg, nullptr);
    EXPECT_EQ(std::string_view(jpg->description), "First JPEG|*.jpg;*.jpeg");
    const FilterCaps* png = table.findFilterForExtension("png");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(std::string_view(png->description), "Second|*.png;*.jpg");
}

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

TEST(FilterTable, SkipsFilesThatAreNoPlugins) {
    // "second" also holds a library without the exports, a text file and a folder named *.so.
    FilterTable table;
    EXPECT_EQ(table.loadFilters(fakeFolder("second"), DefaultFilterTools(), 1, true), 5);
    EXPECT_EQ(table.loadFilters(fakeFolder("missing"), DefaultFilterTools(), 1, false), 0);
    EXPECT_EQ(table.size(), 5);
}

TEST(FilterTable, StoresAtMost256Entries) {
    FilterTable table;
    EXPECT_EQ(table.loadFilters(fakeFolder("many"), DefaultFilterTools(), 1, true), 256);  // 300 offered
    EXPECT_EQ(table.size(), kMaxFilterEntries);
    EXPECT_EQ(table.loadFilters(fakeFolder("first"), DefaultFilterTools(), 1, false), 0);
    EXPECT_FALSE(table.addEntry(nullptr, table.entry(0).caps));
    EXPECT_EQ(table.size(), kMaxFilterEntries);
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

TEST(FilterTable, DefaultFoldersNeverIncludeTheWorkingDirectory) {
    setenv("XDG_DATA_HOME", "/tmp/quib-xdg", 1);
    const auto folders = DefaultFilterFolders("/opt/quib/bin");
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0],
              std::string(QUIB_INSTALL_PREFIX_FOR_TESTS) + "/" + QUIB_FILTERS_INSTALL_DIR_FOR_TESTS);
    EXPECT_EQ(folders[1], "/opt/quib/bin/filters");
    EXPECT_EQ(folders[2], "/tmp/quib-xdg/Corvander/Quib/filters");
    for (const std::string& folder : folders) {
        EXPECT_NE(folder, ".");
        EXPECT_EQ(folder.front(), '/');
    }
    unsetenv("XDG_DATA_HOME");
}

TEST(FilterTable, ProgramsInTheBuildTreeAlsoSearchItsFiltersFolder) {
    const auto folders = DefaultFilterFolders(std::string(QUIB_BUILD_DIR) + "/app");
    EXPECT_NE(std::find(folders.begin(), folders.end(), std::string(QUIB_SHIPPED_FILTERS_DIR)),
              folders.end());
}

TEST(FilterTable, HelpersForNamesAndDescriptions) {
    FilterCaps caps{};
    caps.extensions = "JPG;jpeg";
    caps.description = "JPEG|*.jpg;*.jpeg";
    EXPECT_EQ(PreferredExtension(caps), "jpg");
    EXPECT_EQ(DescriptionPatterns(caps), "*.jpg;*.jpeg");
    EXPECT_EQ(FileExtension("/a.b/c"), "");
    EXPECT_EQ(FileExtension("/a/photo.tar.GZ"), "GZ");
    EXPECT_EQ(FileExtension("shot"), "");
}

TEST(FilterTable, DefaultLoadingFromTheBuildTreeFindsTheShippedPlugins) {
    setenv("XDG_DATA_HOME", "/nonexistent-quib-test", 1);
    FilterTable table;
    table.addEntry(nullptr, nullptr);  // ignored
    LoadDefaultFilters(table, std::string(QUIB_BUILD_DIR) + "/app", DefaultFilterTools());
    EXPECT_NE(table.findFilterForExtension("png"), nullptr);
    EXPECT_NE(table.findFilterForExtension("gif"), nullptr);
    unsetenv("XDG_DATA_HOME");
}

}  // namespace quib

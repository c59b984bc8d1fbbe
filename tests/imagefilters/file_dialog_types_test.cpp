#include <gtest/gtest.h>

#include "imagefilters/file_dialog_types.h"

namespace quib {

namespace {

FilterCaps caps(const char* extensions, const char* description, uintptr_t readBits, uintptr_t writeBits) {
    FilterCaps c{};
    c.extensions = extensions;
    c.description = description;
    c.readCaps = readBits;
    c.writeCaps = writeBits;
    return c;
}

// PNG reads and writes, JPEG reads and writes under two extensions, GIF only reads, and a
// second JPEG type registered later.
struct DialogFixture : ::testing::Test {
    FilterCaps png = caps("PNG", "PNG (*.png)|*.png", 1, 1);
    FilterCaps jpeg = caps("jpg;jpeg", "JPEG (*.jpg)|*.jpg;*.jpeg", 1, 1);
    FilterCaps gif = caps("gif", "GIF (*.gif)|*.gif", 1, 0);
    FilterCaps jpeg2 = caps("jpeg", "JPEG 2|*.jpeg", 1, 1);
    FilterTable table = [this] {
        FilterTable t;
        for (const FilterCaps* c : {&png, &jpeg, &gif, &jpeg2})
            t.addEntry(nullptr, c);
        return t;
    }();
    const FileDialogTypes save{table, FileDialogTypes::Mode::Save, 1};
};

}  // namespace

TEST_F(DialogFixture, SaveFilterLeavesOutReadOnlyTypes) {
    ASSERT_EQ(save.types().size(), 3u);
    EXPECT_EQ(save.typeAt(4), &jpeg2);
    const auto filters = save.nameFilters();
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].label, "Tutti i tipi supportati");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.png", "*.jpg", "*.jpeg", "*.jpeg"}));
    EXPECT_EQ(filters[2].label, "JPEG (*.jpg)");
    EXPECT_EQ(filters[4].label, "Tutti i files (*.*)");
}

TEST_F(DialogFixture, ConfirmAddsTheSelectedTypesPreferredExtensionOrKeepsAKnownOne) {
    const auto result = save.confirm(2, "/home/u/shot");
    ASSERT_TRUE(result.status.ok());
    EXPECT_EQ(result.path, "/home/u/shot.png");
    EXPECT_EQ(result.folder, "/home/u");
    EXPECT_EQ(save.confirm(3, "/x/shot.").path, "/x/shot.jpg");
    // A known extension is kept whatever type is selected.
    const auto known = save.confirm(1, "/home/u/Photo.JPEG");
    ASSERT_TRUE(known.status.ok());
    EXPECT_EQ(known.path, "/home/u/Photo.JPEG");
    EXPECT_EQ(save.confirm(2, "/pic.gif").folder, "/");
}

TEST_F(DialogFixture, ConfirmRefusesANameWhoseTypeCannotBeDetermined) {
    for (const auto& [index, path] : std::vector<std::pair<int, std::string>>{
             {1, "/home/u/shot"}, {2, "/home/u/shot.tiff"}, {2, "/home/u/"}}) {
        const auto result = save.confirm(index, path);
        EXPECT_FALSE(result.status.ok()) << path;
        EXPECT_EQ(result.status.stringId(), 26);
        EXPECT_EQ(result.status.message(),
                  "Indicare un estensione di file valida, o scegliere il tipo di file.");
    }
}

}  // namespace quib

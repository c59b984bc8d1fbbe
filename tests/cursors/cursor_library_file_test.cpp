#include <gtest/gtest.h>

#include <cstring>

#include "cursor_test_support.h"
#include "cursors/cursor_library_file.h"
#include "support/bytes_and_pictures.h"
#include "support/temp_dir.h"

namespace quib {
namespace {

using test::solidCursor;

// A library of one cursor: the count, the name, the picture header and the pixel bytes.
std::vector<uint8_t> oneCursor(const std::string& name, uint16_t width, uint16_t height, Point hotSpot,
                               const std::vector<uint8_t>& pixels) {
    test::RawBytes b;
    b.u32(1).text(name).u16(0x4C49).u16(1).u16(width).u16(height).pair(hotSpot.x, hotSpot.y).raw(pixels);
    return b.b;
}

std::vector<UserCursor> twoCursors() {
    CursorPicture first = solidCursor(3, 2, 10, 20, 30, {1, 1});
    std::memcpy(first.image.pixel(0, 0), "\x01\x01\x01", 4);  // transparent: 1, 1, 1, 0
    return {UserCursor{"Mano rossa", first}, UserCursor{"", solidCursor(32, 32, 0, 0, 255, {5, 7})}};
}

std::vector<UserCursor> read(const std::vector<uint8_t>& bytes) {
    return readUserCursors(bytes.data(), bytes.size());
}

// An empty library is a count of zero.
TEST(UserCursorBytes, WritesInOrderAndRoundTripKeepsNamesPicturesAndHotSpots) {
    const std::vector<UserCursor> cursors = twoCursors();
    const std::vector<UserCursor> back = read(writeUserCursors(cursors));
    ASSERT_EQ(back.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back[i].name, cursors[i].name);
        EXPECT_EQ(back[i].cursor.image, cursors[i].cursor.image);
        EXPECT_EQ(back[i].cursor.hotSpot, cursors[i].cursor.hotSpot);
    }
    EXPECT_EQ(writeUserCursors({}), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(read({0, 0, 0, 0}).empty());
    // Count, name and picture in their order.
    const std::vector<uint8_t> pixels = {1,  1,  1,  0,   10, 20, 30, 255, 10, 20, 30, 255,
                                         10, 20, 30, 255, 10, 20, 30, 255, 10, 20, 30, 255};
    EXPECT_EQ(writeUserCursors({cursors.front()}), oneCursor("Mano rossa", 3, 2, {1, 1}, pixels));
}

TEST(UserCursorBytes, ReadsHandMadeLibraryAndNormalisesAlpha) {
    // One pixel covered, one not.
    const std::vector<UserCursor> cursors =
        read(oneCursor("ab", 2, 1, {0, 1}, {9, 8, 7, 200, 50, 60, 70, 100}));
    ASSERT_EQ(cursors.size(), 1u);
    EXPECT_EQ(cursors[0].name, "ab");
    EXPECT_EQ(cursors[0].cursor.hotSpot, (Point{0, 1}));
    const std::vector<uint8_t> expected = {9, 8, 7, 255, 1, 1, 1, 0};
    EXPECT_EQ(cursors[0].cursor.image.pixels, expected);
}

std::vector<uint8_t> oneCursorBytes(uint16_t width, uint16_t height, size_t pixelBytes) {
    return oneCursor("n", width, height, {0, 0}, std::vector<uint8_t>(pixelBytes, 0xFF));
}

TEST(UserCursorBytes, MalformedLibrariesAreRefused) {
    EXPECT_THROW(read({}), FormatError);
    EXPECT_THROW(read({0xFF, 0xFF, 0xFF, 0xFF, 0}), FormatError);  // count beyond the bytes
    EXPECT_THROW(read(oneCursorBytes(2, 2, 15)), FormatError);     // one pixel byte short
    EXPECT_THROW(read(oneCursorBytes(257, 1, 257 * 4)), FormatError);
    std::vector<uint8_t> extra = oneCursorBytes(1, 1, 4);
    extra.push_back(0);
    EXPECT_THROW(read(extra), FormatError);
    std::vector<uint8_t> badMagic = oneCursorBytes(1, 1, 4);
    badMagic[6] = 0;
    EXPECT_THROW(read(badMagic), FormatError);
    EXPECT_NO_THROW(read(oneCursorBytes(2, 2, 16)));
}

TEST(UserCursorFile, SaveCreatesTheFolderAndLoadReadsItBackAndAMissingFileIsAnEmptyLibrary) {
    const test::TempDir dir;
    const std::string file = dir.path("sub/usercurs.dat");
    ASSERT_TRUE(saveUserCursorFile(file, twoCursors()).ok());
    std::vector<UserCursor> cursors = twoCursors();
    bool found = true;
    EXPECT_TRUE(loadUserCursorFile(dir.path("none.dat"), cursors, &found).ok());
    EXPECT_FALSE(found);
    EXPECT_TRUE(cursors.empty());
    ASSERT_TRUE(loadUserCursorFile(file, cursors, &found).ok());
    EXPECT_TRUE(found);
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_EQ(cursors[0].name, "Mano rossa");
}

}  // namespace
}  // namespace quib

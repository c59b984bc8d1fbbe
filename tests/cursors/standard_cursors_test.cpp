#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cursors/standard_cursors.h"

namespace quib {
namespace {

TEST(StandardCursors, FourteenInTheChoosersOrderWithTheirNames) {
    const std::vector<StandardCursor> cursors = standardCursors();
    ASSERT_EQ(cursors.size(), 14u);
    EXPECT_EQ(cursors.front().systemId, 32512);
    EXPECT_EQ(std::string(cursors.front().name), "Selezione normale");
    EXPECT_EQ(std::string(cursors[3].name), "Selezione testo");
    EXPECT_EQ(cursors.back().systemId, 32650);
    EXPECT_EQ(std::string(cursors.back().name), "Esecuzione in background");
}

TEST(StandardCursors, PicturesAreDistinctAndUseOnlyTheTwoPixelKinds) {
    std::set<std::vector<uint8_t>> pictures;
    for (const StandardCursor& entry : standardCursors()) {
        const Bitmap32& image = entry.cursor.image;
        ASSERT_EQ(image.width, 32) << entry.name;
        ASSERT_EQ(image.height, 32) << entry.name;
        int covered = 0;
        for (size_t i = 0; i < image.pixels.size(); i += 4) {
            const uint8_t alpha = image.pixels[i + 3];
            ASSERT_TRUE(alpha == 0 || alpha == 255) << entry.name;
            if (alpha == 0) {
                EXPECT_EQ(image.pixels[i], 1) << entry.name;
            }
            covered += alpha == 255;
        }
        EXPECT_GT(covered, 20) << entry.name;
        const Point hot = entry.cursor.hotSpot;
        EXPECT_TRUE(hot.x >= 0 && hot.y >= 0 && hot.x < 32 && hot.y < 32) << entry.name;
        pictures.insert(image.pixels);
    }
    EXPECT_EQ(pictures.size(), 14u);
}

}  // namespace
}  // namespace quib

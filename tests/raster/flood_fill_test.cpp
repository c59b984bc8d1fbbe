#include <gtest/gtest.h>

#include "raster/draw_context.h"
#include "raster/flood_fill.h"

using namespace quib;
using namespace quib::raster;

namespace {
constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF000000;
constexpr QRgb kFill = 0xFF0000FF;

// Builds an image from rows of '#' (ink) and paper ('.', or 'o' where a fill is expected).
QImage picture(const std::vector<std::string>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[size_t(y)][size_t(x)] == '#' ? kInk : kPaper);
    return image;
}

std::vector<std::string> rowsOf(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            row += p == kInk ? '#' : p == kFill ? 'o' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}
}  // namespace

// Each picture shows the expected fill as 'o'. A fill is four-connected: it stops at diagonal gaps and
// goes around obstacles through every opening.
TEST(FloodFill, FillsTheFourConnectedRegionOfTheSeed) {
    const struct {
        int x, y;
        std::vector<std::string> expected;
    } cases[] = {
        {0, 0, {"oooo#...", "oooo#...", "#####...", ".....#.."}},
        {3, 2, {"oooooooo", "o######o", "o#oooo#o", "o#o##o#o", "o#oooo#o", "o###o##o", "oooooooo"}},
    };
    for (const auto& c : cases) {
        QImage image = picture(c.expected);
        ASSERT_TRUE(floodFill(image, c.x, c.y, kFill));
        EXPECT_EQ(rowsOf(image), c.expected);
    }
}

TEST(FloodFill, DrawContextFillsWithBrushColourRelativeToOriginAndBadSeedsChangeNothing) {
    QImage image = picture({"...#..", "...#..", "...#.."});
    DrawContext dc(image);
    dc.setOrigin(Point{4, 0});
    dc.setBrush(Brush::solid(rgb(0, 0, 255)));
    ASSERT_TRUE(dc.floodFill(0, 1));
    EXPECT_EQ(rowsOf(image), (std::vector<std::string>{"...#oo", "...#oo", "...#oo"}));
    // A seed outside the picture or on the fill colour changes nothing.
    const QImage before = image.copy();
    EXPECT_FALSE(floodFill(image, -1, 0, kFill));
    EXPECT_FALSE(floodFill(image, 0, 3, kFill));
    EXPECT_FALSE(floodFill(image, 0, 0, kPaper));
    EXPECT_EQ(image, before);
}

TEST(FloodFill, LargeRegionNeedsNoDeepRecursion) {
    QImage image(1500, 1500, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 1500; y += 4)
        for (int x = (y / 4) % 2; x < 1499; ++x)
            image.setPixel(x + ((y / 4) % 2 ? 0 : 1), y, qRgb(0, 0, 0));
    ASSERT_TRUE(floodFill(image, 0, 1, kFill));
    EXPECT_EQ(image.pixel(1499, 1499), kFill);
}

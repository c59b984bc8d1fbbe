#include <gtest/gtest.h>

#include <dlfcn.h>

#include "fake_filters.h"
#include "imagefilters/image_file.h"

namespace quib {

using test::firstThenSecond;

TEST(LoadImageFile, TwentyFourBitFormDropsAlphaAsPictureConversionDoes) {
    const auto picture = LoadImageFile24(firstThenSecond(), "x.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixels, (std::vector<uint8_t>{0xB, 2, 3, 5, 6, 7}));
    Bitmap24 rgb(1, 1);
    rgb.pixels = {1, 2, 3};
    const Bitmap32 argb = AddOpaqueAlpha(rgb);
    EXPECT_EQ(argb.pixels, (std::vector<uint8_t>{1, 2, 3, 255})) << "alpha is added opaque";
    EXPECT_EQ(DropAlpha(argb), rgb);
}

// Every failure closes the handle it opened. Types that cannot write are refused for saving.
TEST(LoadImageFile, FailsForEveryPluginFailureAndClosesItsHandles) {
    const FilterTable table = firstThenSecond();
    EXPECT_FALSE(LoadImageFile(table, "/some/\"Photo.jpg")) << "paths with a double quote are refused";
    for (const char* path : {"a.unknown", "noextension", "a.infofail", "a.openfail", "a.badstatus", "a.huge",
                             "a.neg", "a.readfail"}) {
        EXPECT_FALSE(LoadImageFile(table, path)) << path;
    }
    (void)LoadImageFile(table, "a.jpg");
    using OpenHandles = int (*)();
    auto open = reinterpret_cast<OpenHandles>(dlsym(table.entry(0).library, "FakeOpenHandles"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open(), 0);
    EXPECT_FALSE(SaveImageFile(table, "/tmp/x.unknown", Bitmap24(1, 1)));
    EXPECT_FALSE(SaveImageFile(table, "/tmp/x.jpg", Bitmap24()));
}

}  // namespace quib

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "base/strings.h"

using namespace quib;

TEST(Cp1252, MapsTheHighRangeBothWays) {
    EXPECT_EQ(cp1252ToUtf8("\x80\x99\xE0"), "€™à");
    EXPECT_EQ(utf8ToCp1252("€™à"), std::string("\x80\x99\xE0"));
    EXPECT_FALSE(utf8ToCp1252("ж"));
    EXPECT_FALSE(utf8ToCp1252("\xC3"));  // broken UTF-8 is not silently narrowed
}

TEST(Utf16, SurrogatePairsSurvive) {
    std::string text = "a😀b";
    EXPECT_EQ(utf16leToUtf8(utf8ToUtf16le(text)), text);
    EXPECT_EQ(utf8ToUtf16le(text).size(), 8u);
}

TEST(Strings, NumberedTextsFormat) {
    EXPECT_EQ(formatString(str::FrameOfFrames, 3, 12), "Frame 3 di 12");
    EXPECT_EQ(formatString1(str::SaveChanges, "demo.qbk"), "Salvare le modifiche di demo.qbk?");
}

#include <gtest/gtest.h>

#include "base/cp1252.h"

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

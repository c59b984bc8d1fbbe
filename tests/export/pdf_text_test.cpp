#include <gtest/gtest.h>

#include "export/pdf_text.h"

namespace quib {
namespace {

TEST(PdfText, AsciiIsWrittenAsItStands) {
    EXPECT_EQ(pdfLiteralString("tour.pdf"), "(tour.pdf)");
    EXPECT_EQ(pdfLiteralString(""), "()");
}

TEST(PdfText, ParenthesesAndBackslashAreEscaped) {
    EXPECT_EQ(pdfLiteralString("a(b)c\\d"), "(a\\(b\\)c\\\\d)");
    EXPECT_EQ(pdfLiteralString(")"), "(\\))");
}

TEST(PdfText, ControlCharactersBecomeOctalEscapes) {
    EXPECT_EQ(pdfLiteralString("a\r\nb"), "(a\\015\\012b)");
}

TEST(PdfText, LatinLettersUsePdfDocEncoding) {
    EXPECT_EQ(pdfLiteralString("Perché"), "(Perch\\351)");
    EXPECT_EQ(pdfLiteralString("€ “x”"), "(\\240 \\215x\\216)");
}

TEST(PdfText, OtherTextIsUtf16WithByteOrderMark) {
    // U+4E2D, then '(' as 00 28 escaped.
    EXPECT_EQ(pdfLiteralString("中("), "(\\376\\377N-\\000\\()");
    // A character beyond the basic plane is a surrogate pair.
    EXPECT_EQ(pdfLiteralString("😀"), "(\\376\\377\\330=\\336\\000)");
}

TEST(PdfText, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(pdfLiteralString(std::string("a\xFF")), "(\\376\\377\\000a\\377\\375)");
}

}  // namespace
}  // namespace quib

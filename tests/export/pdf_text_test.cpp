#include <gtest/gtest.h>

#include <utility>

#include "export/pdf_text.h"

namespace quib {
namespace {

TEST(PdfText, LiteralStringsEscapeAndEncodeTheirText) {
    const std::pair<std::string, std::string> cases[] = {
        // ASCII as it stands; parentheses and backslash escaped; control characters in octal.
        {"tour.pdf", "(tour.pdf)"},
        {"a(b)c\\d", "(a\\(b\\)c\\\\d)"},
        {"a\r\nb", "(a\\015\\012b)"},
        // Latin letters in PDFDocEncoding.
        {"Perché", "(Perch\\351)"},
        {"€ “x”", "(\\240 \\215x\\216)"},
        // Other text in UTF-16 with a byte order mark: U+4E2D, then '(' as 00 28 escaped; beyond
        // the basic plane a surrogate pair; malformed UTF-8 the replacement character.
        {"中(", "(\\376\\377N-\\000\\()"},
        {"😀", "(\\376\\377\\330=\\336\\000)"},
        {"a\xFF", "(\\376\\377\\000a\\377\\375)"},
    };
    for (const auto& [text, literal] : cases)
        EXPECT_EQ(pdfLiteralString(text), literal) << text;
}

}  // namespace
}  // namespace quib

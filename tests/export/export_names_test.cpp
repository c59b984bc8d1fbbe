#include <gtest/gtest.h>

#include "export/export_names.h"
#include "export/html_export.h"

namespace quib {
namespace {

TEST(ExportNames, BaseNameIsCutAtTheFileNamesLastDot) {
    EXPECT_EQ(withoutExtension("/out/page.htm"), "/out/page");
    EXPECT_EQ(withoutExtension("/out/page.v2.htm"), "/out/page.v2");
    EXPECT_EQ(withoutExtension("/my.dir/page"), "/my.dir/page");
    EXPECT_EQ(exportFileName("/doc/tour.pdf"), "tour.pdf");
    EXPECT_EQ(exportFileName("tour"), "tour");
}

TEST(ExportNames, AttributeTextEscapesQuotesAnglesAndAmpersands) {
    EXPECT_EQ(escapeHtmlAttribute("a\"b<c>d&e"), "a&quot;b&lt;c&gt;d&amp;e");
    EXPECT_EQ(escapeHtmlAttribute("plain0.png"), "plain0.png");
}

}  // namespace
}  // namespace quib

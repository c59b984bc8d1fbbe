#include <gtest/gtest.h>

#include "export/export_names.h"
#include "export/html_export.h"

namespace quib {
namespace {

FilterCaps capsWithExtensions(const char* extensions) {
    FilterCaps caps{};
    caps.extensions = extensions;
    caps.description = "PNG (*.png)|*.png";
    caps.writeCaps = 1;
    return caps;
}

TEST(ExportNames, ExtensionIsAppendedOnlyWhenTheFileNameHasNone) {
    EXPECT_EQ(withDefaultExtension("/out/page", ".htm"), "/out/page.htm");
    EXPECT_EQ(withDefaultExtension("/out/page.html", ".htm"), "/out/page.html");
    EXPECT_EQ(withDefaultExtension("tour", ".pdf"), "tour.pdf");
    // A '.' in a folder name is not the file's extension.
    EXPECT_EQ(withDefaultExtension("/my.dir/page", ".htm"), "/my.dir/page.htm");
}

TEST(ExportNames, BaseNameIsCutAtTheFileNamesLastDot) {
    EXPECT_EQ(withoutExtension("/out/page.htm"), "/out/page");
    EXPECT_EQ(withoutExtension("/out/page.v2.htm"), "/out/page.v2");
    EXPECT_EQ(withoutExtension("/my.dir/page"), "/my.dir/page");
    EXPECT_EQ(exportFileName("/doc/tour.pdf"), "tour.pdf");
    EXPECT_EQ(exportFileName("tour"), "tour");
}

TEST(ExportNames, HtmlImagesAreNamedAfterThePageWithTheFiltersFirstExtension) {
    const FilterCaps jpeg = capsWithExtensions("jpg;jpeg");
    const HtmlExportNames names = htmlExportNames("/out/page", jpeg);
    EXPECT_EQ(names.pagePath, "/out/page.htm");
    EXPECT_EQ(names.imagePath(0), "/out/page0.jpg");
    EXPECT_EQ(names.imagePath(12), "/out/page12.jpg");
    EXPECT_EQ(htmlExportNames("/out/page.html", capsWithExtensions("png")).imagePath(1), "/out/page1.png");
    // Images of a page in a folder with a '.' stay beside the page.
    EXPECT_EQ(htmlExportNames("/my.dir/page", jpeg).imagePath(0), "/my.dir/page0.jpg");
}

TEST(ExportNames, AttributeTextEscapesQuotesAnglesAndAmpersands) {
    EXPECT_EQ(escapeHtmlAttribute("a\"b<c>d&e"), "a&quot;b&lt;c&gt;d&amp;e");
    EXPECT_EQ(escapeHtmlAttribute("plain0.png"), "plain0.png");
}

}  // namespace
}  // namespace quib

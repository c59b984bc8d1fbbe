#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "render_test_helpers.h"
#include "support/files_and_commands.h"

using namespace quib;
using namespace rendertest;

TEST(RenderCommand, RendersAProjectFileToMovieAndPage) {
    test::CliFolder dir;
    CQuibDoc doc;
    ASSERT_TRUE(buildSyntheticProject(doc, 64, 48, 3));
    doc.settings.outputType = OutputType::Movie;
    NullProgress progress;
    ASSERT_TRUE(SaveProject(dir.path("p.qbk"), doc, progress).ok());

    const auto render = [&dir](const std::string& output, const std::string& options = "") {
        return dir.status("render " + dir.quoted("p.qbk") + " --output '" + output + "'" + options);
    };
    EXPECT_EQ(render(dir.path("m.swf")), 0);
    EXPECT_TRUE(test::fileExists(dir.path("m.swf")));
    EXPECT_TRUE(test::fileExists(dir.path("m.htm")));

    // Both projectors, each with the movie appended.
    for (const char* type : {"exe", "linux"}) {
        const std::string name = dir.path(std::string("m.") + type);
        EXPECT_EQ(render(name, std::string(" --type ") + type), 0);
        // A Windows program or an ELF file
        EXPECT_EQ(test::readFile(name).substr(0, 2), std::string(type) == "exe" ? "MZ" : "\177E");
    }

    // A folder left by a writer that was killed goes with the next page written beside it.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string abandoned = dir.path(".w_files.new-" + std::to_string(gone));
    ASSERT_EQ(::mkdir(abandoned.c_str(), 0700), 0);
    for (const char* pictures : {"", " --png"}) {
        EXPECT_EQ(render(dir.path("w.html"), std::string(" --type html5") + pictures), 0);
        EXPECT_TRUE(test::fileExists(dir.path("w_files/timeline.js")));
        EXPECT_TRUE(test::fileExists(dir.path(*pictures ? "w_files/t0000.png" : "w_files/t0000.webp")));
    }
    EXPECT_FALSE(test::fileExists(abandoned));
}

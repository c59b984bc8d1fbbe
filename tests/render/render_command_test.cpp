#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "base/file_bytes.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "render_test_helpers.h"
#include "support/files_and_commands.h"

using namespace quib;
using namespace rendertest;

namespace {

int runCli(const TempDir& dir, const std::string& arguments) {
    return quib::test::runQuibCli(dir, arguments).status;
}

}  // namespace

TEST(RenderCommand, RendersAProjectFileToMovieAndPage) {
    TempDir dir;
    CQuibDoc doc;
    ASSERT_TRUE(buildSyntheticProject(doc, 64, 48, 3));
    doc.settings.outputType = OutputType::Movie;
    NullProgress progress;
    ASSERT_TRUE(SaveProject(dir.path("p.qbk"), doc, progress).ok());

    EXPECT_EQ(runCli(dir, "render '" + dir.path("p.qbk") + "' --output '" + dir.path("m.swf") + "'"), 0);
    EXPECT_TRUE(quib::test::fileExists(dir.path("m.swf")));
    EXPECT_TRUE(quib::test::fileExists(dir.path("m.htm")));

    // Both projectors, each with the movie appended, executable.
    for (const char* type : {"exe", "linux"}) {
        const std::string name = dir.path(std::string("m.") + type);
        EXPECT_EQ(runCli(dir, "render '" + dir.path("p.qbk") + "' --output '" + name + "' --type " + type),
                  0);
        struct stat info {};
        ASSERT_EQ(::stat(name.c_str(), &info), 0) << type;
        EXPECT_NE(info.st_mode & S_IXUSR, 0u);
        std::vector<uint8_t> bytes;
        ASSERT_EQ(readFileBytes(name, bytes), FileRead::Ok);
        ASSERT_GT(bytes.size(), 2u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), type == std::string("exe") ? "MZ"
                                                                                            : "\x7F"
                                                                                              "E");
    }

    // A folder left by a writer that was killed goes with the next page written beside it.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string abandoned = dir.path(".w_files.new-" + std::to_string(gone));
    ASSERT_EQ(::mkdir(abandoned.c_str(), 0700), 0);
    for (const char* pictures : {"", " --png"}) {
        EXPECT_EQ(runCli(dir, "render '" + dir.path("p.qbk") + "' --output '" + dir.path("w.html") +
                                  "' --type html5" + pictures),
                  0);
        EXPECT_TRUE(quib::test::fileExists(dir.path("w_files/timeline.js")));
        EXPECT_TRUE(quib::test::fileExists(dir.path(*pictures ? "w_files/t0000.png" : "w_files/t0000.webp")));
    }
    EXPECT_FALSE(quib::test::fileExists(abandoned));
}

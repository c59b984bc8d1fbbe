#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QImage>

#include "base/byte_stream.h"
#include "frame_dump.h"
#include "movie_decoder.h"
#include "render/movie_output.h"
#include "render/player_executable.h"
#include "render_test_helpers.h"
#include "support/files_and_commands.h"
#include "swf/swf_movie.h"

using namespace quib;
using namespace rendertest;

namespace {

using swftest::readBytes;
using swftest::writeBytes;

// A movie of one frame with one picture, as the render pass builds it.
void buildSmallMovie(TestProject& project, SwfMovie& movie) {
    project.addFrame(rgb(10, 200, 30));
    NullProgress progress;
    BuildProjectMovie(project.doc, project.callouts, progress, movie);
}

}  // namespace

TEST(HtmlPage, NamesEscapingAndTextByteForByte) {
    EXPECT_EQ(htmlPageName("/dir/demo.swf"), "/dir/demo.htm");
    // A dot in a folder name never counts: the page stays beside the movie.
    EXPECT_EQ(htmlPageName("/my.dir/demo"), "/my.dir/demo.htm");

    // The movie reference is escaped in attributes.
    const std::string page = htmlWrapperPage(1, 2, "a\"b<c>&d.swf");
    EXPECT_NE(page.find("VALUE=\"a&quot;b&lt;c&gt;&amp;d.swf\">"), std::string::npos);
    EXPECT_NE(page.find("SRC=\"a&quot;b&lt;c&gt;&amp;d.swf\" "), std::string::npos);
    EXPECT_EQ(page.find("a\"b"), std::string::npos);

    const std::string expected =
        "<HTML>\r\n"
        "<BODY><center><OBJECT CLASSID=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" WIDTH=\"640\" "
        "HEIGHT=\"480\" "
        "CODEBASE=\"http://download.quib-player.invalid/flash5/cabs/swflash.cab#version=5,0,0,0\">\r\n"
        "<PARAM NAME=movie VALUE=\"demo.swf\">\r\n"
        "<PARAM NAME=play VALUE=true>\r\n"
        "<PARAM NAME=loop VALUE=false>\r\n"
        "<PARAM NAME=quality VALUE=low>\r\n"
        "<EMBED SRC=\"demo.swf\" WIDTH=640 HEIGHT=480 loop=false quality=low "
        "TYPE=\"application/x-shockwave-flash\" "
        "PLUGINSPAGE=\"http://download.quib-player.invalid/shockwave/download/index.cgi?P1_Prod_Version="
        "ShockwaveFlash\">\r\n"
        "</EMBED>\r\n"
        "</OBJECT>\r\n"
        "</center>\r\n"
        "</BODY></HTML>\r\n";
    EXPECT_EQ(htmlWrapperPage(640, 480, "demo.swf"), expected);
}

TEST(MovieOutput, PageFailureKeepsTheMovie_ExeLayout_NoPlayerFails) {
    TestProject project;
    SwfMovie movie;
    buildSmallMovie(project, movie);
    ASSERT_EQ(::mkdir(project.dir.path("demo.htm").c_str(), 0755), 0);  // a folder in the page's place
    const OutputResult result =
        WriteMovieOutput(movie, project.dir.path("demo.swf"), OutputType::Movie, {32, 24});
    EXPECT_TRUE(result.movieStatus.ok());
    EXPECT_EQ(result.pageStatus.message(), "Impossibile creare il file di output HTML");
    EXPECT_FALSE(readBytes(project.dir.path("demo.swf")).empty());

    const std::vector<uint8_t> player = {'#', '!', 'p', 'l', 'a', 'y', 'e', 'r', 0, 1, 2};
    writeBytes(project.dir.path("player"), player);
    const std::string path = project.dir.path("demo.exe");
    const OutputResult exe =
        WriteMovieOutput(movie, path, OutputType::Executable, {32, 24}, project.dir.path("player"));
    ASSERT_TRUE(exe.movieStatus.ok()) << exe.movieStatus.message();
    EXPECT_TRUE(exe.pagePath.empty());

    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_GT(bytes.size(), player.size() + 8);
    const size_t n = bytes.size() - player.size() - 8;
    EXPECT_TRUE(std::equal(player.begin(), player.end(), bytes.begin()));
    EXPECT_EQ(ByteReader(&bytes[bytes.size() - 8], 4).u32(), 0xFA123456u);
    EXPECT_EQ(ByteReader(&bytes[bytes.size() - 4], 4).u32(), n);
    // The movie part is the movie file exactly, its own length field included.
    EXPECT_EQ(bytes[player.size()], 'F');
    EXPECT_EQ(ByteReader(&bytes[player.size() + 4], 4).u32(), n);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IXUSR, 0u);

    const OutputResult withoutPlayer =
        WriteMovieOutput(movie, project.dir.path("other.exe"), OutputType::Executable, {32, 24},
                         project.dir.path("no-player"));
    EXPECT_FALSE(withoutPlayer.movieStatus.ok());
    EXPECT_FALSE(withoutPlayer.movieStatus.message().empty());
}

// Both projectors are found in the build tree's data folder; the Linux one, run with nothing in its
// environment, renders its movie.
TEST(MovieOutput, WrittenLinuxExecutableStartsAndRendersItsMovie) {
    EXPECT_TRUE(findProjector(OutputType::Executable).ends_with("/projectors/quib-projector.exe"));
    EXPECT_TRUE(findProjector(OutputType::LinuxExecutable).ends_with("/projectors/quib-projector"));
    EXPECT_TRUE(findProjector(OutputType::Movie).empty());
    TestProject project(40, 30);
    project.doc.settings.outputType = OutputType::LinuxExecutable;
    project.doc.settings.outputFileName = project.dir.path("demo");
    SwfMovie movie;
    buildSmallMovie(project, movie);
    const OutputResult result =
        WriteMovieOutput(movie, project.doc.settings.outputFileName, OutputType::LinuxExecutable, {40, 30});
    ASSERT_TRUE(result.movieStatus.ok()) << result.movieStatus.message();

    const std::string png = project.dir.path("frame.png");
    ASSERT_EQ(quib::test::runCommand("env -i '" + project.doc.settings.outputFileName + "' --dump-frame 0 '" +
                                     png + "'"),
              0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 40);
    EXPECT_EQ(image.height(), 30);
    EXPECT_EQ(image.pixel(20, 15) & 0xFFFFFF, 0x0AC81Eu);
}

TEST(RenderProject, StopsAtAFailedCheckOrWritesMovieAndPageAndReportsFigures) {
    TestProject project(40, 30);
    project.addFrame(rgb(1, 2, 3));
    project.addFrame(rgb(1, 2, 4));
    project.doc.settings.usePalette = 1;
    NullProgress progress;
    const RenderResult refused = RenderProject(project.doc, project.callouts, progress);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.check.blocker, RenderBlocker::NoPalette);
    EXPECT_TRUE(outputMissing(project.doc.settings.outputFileName));

    project.doc.settings.usePalette = 0;
    const RenderResult result = RenderProject(project.doc, project.callouts, progress);
    ASSERT_TRUE(result.ok()) << result.movieStatus.message();
    EXPECT_EQ(result.stats.projectFrames, 2);
    EXPECT_EQ(result.pagePath, project.dir.path("movie.htm"));
    EXPECT_EQ(quib::test::readFile(result.pagePath), htmlWrapperPage(40, 30, "movie.swf"));
    const std::vector<uint8_t> bytes = readBytes(project.doc.settings.outputFileName);
    EXPECT_EQ(bytes.size(), result.outputBytes);
    EXPECT_EQ(swftest::decodeMovie(bytes).header.signature, "FWS");
    EXPECT_FALSE(outputMissing(project.doc.settings.outputFileName));
    EXPECT_TRUE(outputMissing(project.dir.path("other.swf")));
}

TEST(ShowResult, AsksToRenderFirstOnlyWithoutAnOutputFileThenOpensOrStarts) {
    TestProject project;
    const std::string path = project.dir.path("demo.swf");
    ShowResultPlan plan = PlanShowResult(path, OutputType::Movie);
    EXPECT_TRUE(plan.askRenderFirst);
    EXPECT_EQ(plan.question,
              "Questo progetto non ha ancora un file di output. Volete eseguire il rendering ora?");
    writeBytes(path, {1, 2, 3});
    EXPECT_FALSE(PlanShowResult(path, OutputType::Movie).askRenderFirst);
    const struct {
        OutputType type;
        const char* output;
        const char* opened;
        bool start;
    } cases[] = {{OutputType::Movie, "/d/demo.swf", "/d/demo.htm", false},
                 {OutputType::Executable, "/d/demo.exe", "/d/demo.exe", false},
                 {OutputType::LinuxExecutable, "/d/demo", "/d/demo", true}};
    for (const auto& c : cases) {
        const ShowResultPlan plan = PlanShowResult(c.output, c.type);
        EXPECT_EQ(plan.page, c.opened) << c.output;
        EXPECT_EQ(plan.start, c.start) << c.output;
    }
}

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "base/progress.h"
#include "model/project_storage.h"
#include "support/files_and_commands.h"

namespace quib {
namespace {

class QuibCli : public ::testing::Test, protected test::CliFolder {};

TEST_F(QuibCli, InfoReadsTheSameProjectFromSaveAndCompress) {
    ASSERT_EQ(run("new " + quoted("a.qbk") + " --size 64,48 --frames 3").status, 0);
    ASSERT_EQ(run("save " + quoted("a.qbk") + " " + quoted("b.qbk")).status, 0);
    ASSERT_EQ(run("compress " + quoted("a.qbk") + " " + quoted("c.qbk")).status, 0);
    const test::CliRun a = run("info " + quoted("a.qbk"));
    const test::CliRun b = run("info " + quoted("b.qbk"));
    const test::CliRun c = run("info " + quoted("c.qbk"));
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    // The compressed file reads the same but for its flag.
    std::string compressed = a.out;
    const size_t flag = compressed.find("\"compressed\":false");
    ASSERT_NE(flag, std::string::npos) << a.out;
    EXPECT_EQ(c.out, compressed.replace(flag, 18, "\"compressed\":true"));
}

TEST_F(QuibCli, InfoPrintsTheFieldsOfAKnownProject) {
    CQuibDoc doc;
    doc.frameSize = doc.backgroundSize = Size{2, 1};
    doc.currentImage = Bitmap24(2, 1);
    doc.settings.outputType = OutputType::Executable;
    doc.settings.outputFileName = path("film.exe");
    doc.settings.paletteCount = 1;
    doc.settings.palette[0] = PaletteEntry{1, 2, 3, 0};
    doc.currentFrame.textBox.text = "a \"b\"\n\\ ことば";
    doc.currentFrame.title = "T";
    doc.currentFrame.textBox.font.logFont.setFace("\xC6gir");  // code page 1252 in the record
    doc.currentFrame.gotoButtons[1] = NavButton{1, Point{3, 4}, -2};
    ASSERT_TRUE(doc.AppendCapturedFrame());
    NullProgress progress;
    ASSERT_TRUE(SaveProject(path("k.qbk"), doc, progress));
    const test::CliRun r = run("info " + quoted("k.qbk"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& j = r.out;
    for (const std::string& expected :
         {"{\"version\":256,\"compressed\":false,\"frameCount\":1,\"backgroundSize\":[2,1],\"frameSize\":[2,"
          "1],"
          "\"frameOrigin\":[0,0],\"hasBackground\":false,\"outputFileName\":\"" +
              path("film.exe") +
              "\","
              "\"outputType\":\"exe\",\"frameRate\":8,\"cursorSmoothness\":25,\"usePalette\":false,"
              "\"paletteCount\":1,\"palette\":[[1,2,3]],\"buttons\":[[0,0],[0,0],[0,0],[0,0]],"
              "\"titles\":{\"enabled\":false,\"rect\":[50,50,250,90],\"font\":{\"face\":\"MS Sans Serif\","
              "\"height\":8,\"weight\":400,\"italic\":false,\"color\":4294967295,\"align\":3}},\"frames\":[{",
          std::string("\"text\":\"a \\\"b\\\"\\n\\\\ ことば\""),
          std::string("\"goto\":[{\"visible\":false,\"pos\":[0,0],\"offset\":0},"
                      "{\"visible\":true,\"pos\":[3,4],\"offset\":-2}]"),
          // CRC-32 of the six zero bytes of the 2 x 1 picture.
          std::string("\"face\":\"Ægir\""), std::string("\"imageCrc32\":2982322595}]}")})
        EXPECT_NE(j.find(expected), std::string::npos) << expected << "\n in \n" << j;
}

TEST_F(QuibCli, ErrorsGoToStderrWithTheSystemsMessageAndOnlyRegularFilesAreRead) {
    test::writeFile(path("bad.qbk"), "RPBQ\x01\x01");
    const test::CliRun bad = run("info " + quoted("bad.qbk"));
    EXPECT_NE(bad.status, 0);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Formato del file inaspettato."), std::string::npos) << bad.err;

    const test::CliRun missing = run("info " + quoted("none.qbk"));
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("none.qbk"), std::string::npos);

    ASSERT_EQ(run("new " + quoted("a.qbk") + " --frames 1 --size 8,8").status, 0);
    const test::CliRun unwritable = run("save " + quoted("a.qbk") + " " + quoted("no/such/dir.qbk"));
    EXPECT_NE(unwritable.status, 0);
    EXPECT_NE(unwritable.err.find("Impossibile creare il file"), std::string::npos);

    EXPECT_NE(run("info").status, 0);
    EXPECT_NE(run("frobnicate").status, 0);
    EXPECT_NE(run("new " + quoted("x.qbk") + " --size 0,5").status, 0);
    // Only regular files are read: a pipe without a writer, which would never answer, is refused at once.
    ASSERT_EQ(::mkfifo(path("pipe.qbk").c_str(), 0600), 0);
    const test::CliRun pipe = run("info " + quoted("pipe.qbk"));
    EXPECT_EQ(pipe.status, 1);
    EXPECT_NE(pipe.err.find("Formato del file inaspettato."), std::string::npos) << pipe.err;
}

}  // namespace
}  // namespace quib

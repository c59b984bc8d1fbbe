#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/progress.h"
#include "model/project_storage.h"

namespace quib {
namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class QuibCli : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quib-cli-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir + "'").c_str()); }

    RunResult run(const std::string& args) {
        const std::string errFile = dir + "/stderr.txt";
        const std::string command =
            std::string(QUIB_BUILD_DIR) + "/cli/quib-cli " + args + " 2>'" + errFile + "'";
        RunResult result;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errFile);
        result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return result;
    }
    std::string path(const std::string& name) { return dir + "/" + name; }
    static std::string withoutCompressedFlag(std::string json) {
        for (const char* flag : {"\"compressed\":true", "\"compressed\":false"}) {
            const size_t at = json.find(flag);
            if (at != std::string::npos)
                json.erase(at, std::string(flag).size());
        }
        return json;
    }
    std::string dir;
};

TEST_F(QuibCli, InfoReadsTheSameProjectFromSaveAndCompress) {
    ASSERT_EQ(run("new '" + path("a.qbk") + "' --size 64,48 --frames 3").status, 0);
    ASSERT_EQ(run("save '" + path("a.qbk") + "' '" + path("b.qbk") + "'").status, 0);
    ASSERT_EQ(run("compress '" + path("a.qbk") + "' '" + path("c.qbk") + "'").status, 0);
    const RunResult a = run("info '" + path("a.qbk") + "'");
    const RunResult b = run("info '" + path("b.qbk") + "'");
    const RunResult c = run("info '" + path("c.qbk") + "'");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(c.out.find("\"compressed\":true"), std::string::npos);
    EXPECT_NE(a.out.find("\"compressed\":false"), std::string::npos);
    EXPECT_EQ(withoutCompressedFlag(a.out), withoutCompressedFlag(c.out));
    // And back from the compressed file to the normal one.
    ASSERT_EQ(run("save '" + path("c.qbk") + "' '" + path("d.qbk") + "'").status, 0);
    EXPECT_EQ(run("info '" + path("d.qbk") + "'").out, a.out);
}

TEST_F(QuibCli, InfoPrintsTheFieldsOfAKnownProject) {
    CQuibDoc doc;
    doc.frameSize = doc.backgroundSize = Size{2, 1};
    doc.currentImage = Bitmap24(2, 1);
    doc.settings.outputType = OutputType::Executable;
    doc.settings.outputFileName = dir + "/film.exe";
    doc.settings.paletteCount = 1;
    doc.settings.palette[0] = PaletteEntry{1, 2, 3, 0};
    doc.currentFrame.textBox.text = "a \"b\"\n\\ ことば";
    doc.currentFrame.title = "T";
    doc.currentFrame.textBox.font.logFont.setFace("\xC6gir");  // code page 1252 in the record
    doc.currentFrame.gotoButtons[1] = NavButton{1, Point{3, 4}, -2};
    ASSERT_TRUE(doc.AppendCapturedFrame());
    NullProgress progress;
    ASSERT_TRUE(SaveProject(path("k.qbk"), doc, progress));
    const RunResult r = run("info '" + path("k.qbk") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& j = r.out;
    for (const std::string& expected :
         {"{\"version\":256,\"compressed\":false,\"frameCount\":1,\"backgroundSize\":[2,1],\"frameSize\":[2,"
          "1],"
          "\"frameOrigin\":[0,0],\"hasBackground\":false,\"outputFileName\":\"" +
              dir +
              "/film.exe\","
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

TEST_F(QuibCli, ErrorsGoToStderrWithTheSystemsMessage) {
    {
        std::ofstream bad(path("bad.qbk"));
        bad << "RPBQ\x01\x01";
    }
    const RunResult bad = run("info '" + path("bad.qbk") + "'");
    EXPECT_NE(bad.status, 0);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Formato del file inaspettato."), std::string::npos) << bad.err;

    const RunResult missing = run("info '" + path("none.qbk") + "'");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("none.qbk"), std::string::npos);

    ASSERT_EQ(run("new '" + path("a.qbk") + "' --frames 1 --size 8,8").status, 0);
    const RunResult unwritable = run("save '" + path("a.qbk") + "' '" + path("no/such/dir.qbk") + "'");
    EXPECT_NE(unwritable.status, 0);
    EXPECT_NE(unwritable.err.find("Impossibile creare il file"), std::string::npos);

    EXPECT_NE(run("info").status, 0);
    EXPECT_NE(run("frobnicate").status, 0);
    EXPECT_NE(run("new '" + path("x.qbk") + "' --size 0,5").status, 0);
}

TEST_F(QuibCli, OnlyRegularFilesAreRead) {
    // A device never ends and a pipe without a writer never answers: both are refused at once.
    ASSERT_EQ(::mkfifo(path("pipe.qbk").c_str(), 0600), 0);
    for (const std::string& input : {std::string("/dev/zero"), path("pipe.qbk"), dir}) {
        const RunResult result = run("info '" + input + "'");
        EXPECT_EQ(result.status, 1) << input;
        EXPECT_NE(result.err.find("Formato del file inaspettato."), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace quib

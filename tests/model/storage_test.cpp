#include <gtest/gtest.h>

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "model/project_storage.h"
#include "model_test_util.h"

namespace quib {
namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quib-model-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir + "'").c_str()); }
    std::vector<uint8_t> read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }
    int entries() {
        int n = 0;
        DIR* d = opendir(dir.c_str());
        while (dirent* e = readdir(d))
            n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
        closedir(d);
        return n;
    }
    std::string dir;
    NullProgress progress;
};

TEST_F(TempDir, SaveThenLoadTakesPathTitleAndClearsModified) {
    CQuibDoc doc;
    test::makeProject(doc, 2);
    doc.settings.outputFileName = dir + "/film.swf";
    doc.SetModifiedFlag(true);
    const std::string path = dir + "/demo.qbk";
    ASSERT_TRUE(SaveProject(path, doc, progress));
    EXPECT_EQ(doc.pathName(), path);
    EXPECT_EQ(doc.title(), "demo.qbk");
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(entries(), 1);

    CQuibDoc loaded;
    ASSERT_TRUE(LoadProject(path, loaded, progress));
    EXPECT_EQ(loaded.title(), "demo.qbk");
    EXPECT_EQ(loaded.frameCount(), 2);
    EXPECT_EQ(loaded.settings.outputFileName, dir + "/film.swf");
    EXPECT_EQ(loaded.projectDir, dir + "/");
}

TEST_F(TempDir, SaveReplacesAnExistingFileWhole) {
    const std::string path = dir + "/demo.qbk";
    { std::ofstream(path) << "old contents"; }
    CQuibDoc doc;
    test::makeProject(doc, 1);
    ASSERT_TRUE(SaveProject(path, doc, progress));
    const auto bytes = read(path);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RPBQ");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0044, 0u);  // readable like any other file, not private to the saver
    EXPECT_EQ(entries(), 1);
}

TEST_F(TempDir, FailedSaveOverADirectoryLeavesItEveryOtherFileAndNoTemporaryFile) {
    const std::string keep = dir + "/keep.qbk";
    CQuibDoc doc;
    test::makeProject(doc, 1);
    ASSERT_TRUE(SaveProject(keep, doc, progress));
    const auto before = read(keep);
    const std::string target = dir + "/demo.qbk";
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    { std::ofstream(target + "/inside.txt") << "keep"; }
    test::makeProject(doc, 1);
    doc.setTitle("demo.qbk");
    doc.SetModifiedFlag(true);
    const Status status = SaveProject(target, doc, progress);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "Impossibile creare il file");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(entries(), 2);  // keep.qbk and demo.qbk
    EXPECT_EQ(read(target + "/inside.txt").size(), 4u);
    EXPECT_EQ(read(keep), before);
}

TEST_F(TempDir, FailedSaveIntoAMissingFolder) {
    CQuibDoc doc;
    test::makeProject(doc, 1);
    const Status status = SaveProject(dir + "/missing/demo.qbk", doc, progress);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.stringId(), 61216);
}

TEST_F(TempDir, LoadingAMalformedFileReportsItAndKeepsTheDocument) {
    const std::string path = dir + "/bad.qbk";
    { std::ofstream(path) << "RPBQ not really"; }
    CQuibDoc doc;
    test::makeProject(doc, 2);
    doc.setPathName("/old/path.qbk");
    const Status status = LoadProject(path, doc, progress);
    EXPECT_EQ(status.message(), "Formato del file inaspettato.");
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_EQ(doc.pathName(), "/old/path.qbk");
}

TEST_F(TempDir, LoadingAMissingFileNamesIt) {
    CQuibDoc doc;
    const Status status = LoadProject(dir + "/none.qbk", doc, progress);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("none.qbk"), std::string::npos);
}

TEST_F(TempDir, CompressedSaveWritesTheFlagOnceAndClearsIt) {
    CQuibDoc doc;
    test::makeProject(doc, 3);
    const std::string path = dir + "/c.qbk";
    ASSERT_TRUE(SaveProjectCompressed(path, doc, progress));
    EXPECT_FALSE(doc.compressedSave);
    EXPECT_EQ(read(path)[6], 1);
    ASSERT_TRUE(SaveProject(path, doc, progress));
    EXPECT_EQ(read(path)[6], 0);
}

}  // namespace
}  // namespace quib

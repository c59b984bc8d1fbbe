#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/project_storage.h"
#include "model_test_util.h"
#include "support/files_and_commands.h"

namespace quib {
namespace {

class ProjectStorage : public ::testing::Test {
protected:
    long entries() { return std::distance(std::filesystem::directory_iterator(dir), {}); }
    test::TempDir temp;
    const std::string& dir = temp.dir();
    NullProgress progress;
};

// A save replaces an old file whole, takes the path and title and clears the modified flag; a
// compressed save writes its flag once and clears it.
TEST_F(ProjectStorage, SaveReplacesTheFileWholeAndLoadReadsItBack) {
    CQuibDoc doc;
    test::makeProject(doc, 2);
    doc.SetModifiedFlag(true);
    const std::string path = dir + "/demo.qbk";
    test::writeFile(path, "old contents");
    ASSERT_TRUE(SaveProject(path, doc, progress));
    EXPECT_EQ(doc.pathName(), path);
    EXPECT_EQ(doc.title(), "demo.qbk");
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(entries(), 1);

    CQuibDoc loaded;
    ASSERT_TRUE(LoadProject(path, loaded, progress));
    EXPECT_EQ(loaded.title(), "demo.qbk");
    EXPECT_EQ(loaded.frameCount(), 2);

    ASSERT_TRUE(SaveProjectCompressed(path, doc, progress));
    EXPECT_FALSE(doc.compressedSave);
    EXPECT_EQ(test::readBytes(path)[6], 1);
    ASSERT_TRUE(SaveProject(path, doc, progress));
    EXPECT_EQ(test::readBytes(path)[6], 0);
}

// The folder itself stays as it was (AtomicFileTest.TargetsThatCannotBeWrittenFailAtOpen).
TEST_F(ProjectStorage, FailedSaveOverADirectoryReportsItAndKeepsTheProjectModified) {
    const std::string target = dir + "/demo.qbk";
    ASSERT_TRUE(std::filesystem::create_directory(target));
    CQuibDoc doc;
    test::makeProject(doc, 1);
    doc.setTitle("demo.qbk");
    doc.SetModifiedFlag(true);
    EXPECT_EQ(SaveProject(target, doc, progress).message(), "Impossibile creare il file");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(entries(), 1);
}

}  // namespace
}  // namespace quib

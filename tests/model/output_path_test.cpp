#include <gtest/gtest.h>

#include "model/output_path.h"

namespace quib {
namespace {

TEST(RelativeOutputName, FileInTheProjectFolderIsItsBareName) {
    EXPECT_EQ(relativeOutputName("/home/u/proj/", "/home/u/proj/film.swf"), "film.swf");
}

TEST(RelativeOutputName, FileInTheParentFolderGetsOneUpStep) {
    EXPECT_EQ(relativeOutputName("/home/u/proj/", "/home/u/film.swf"), "..\\film.swf");
}

TEST(RelativeOutputName, SiblingFolderAndDeeperFolders) {
    EXPECT_EQ(relativeOutputName("/home/u/proj/", "/home/u/out/a/film.swf"), "..\\out\\a\\film.swf");
    EXPECT_EQ(relativeOutputName("/home/u/proj/", "/home/u/proj/out/film.swf"), "out\\film.swf");
    EXPECT_EQ(relativeOutputName("/a/b/c/", "/x/film.swf"), "..\\..\\..\\x\\film.swf");
}

TEST(RelativeOutputName, OtherRootIsStoredUnchanged) {
    EXPECT_EQ(relativeOutputName("C:\\progetti\\", "D:\\film\\out.swf"), "D:\\film\\out.swf");
    EXPECT_EQ(relativeOutputName("/home/u/proj/", "D:\\film\\out.swf"), "D:\\film\\out.swf");
    EXPECT_EQ(relativeOutputName("", "/tmp/out.swf"), "\\tmp\\out.swf");
}

TEST(RelativeOutputName, DriveLetterFoldersOnTheSameDrive) {
    EXPECT_EQ(relativeOutputName("C:\\a\\b\\", "C:\\a\\film.swf"), "..\\film.swf");
    EXPECT_EQ(relativeOutputName("C:\\a\\b\\", "C:\\a\\b\\film.swf"), "film.swf");
}

TEST(RelativeOutputName, FolderNameThatIsOnlyAPrefixIsNotTheSameFolder) {
    EXPECT_EQ(relativeOutputName("/data/ab/", "/data/abc.swf"), "..\\abc.swf");
    EXPECT_EQ(relativeOutputName("/data/Proj/", "/data/proj/x.swf"), "..\\proj\\x.swf");
}

TEST(AbsoluteOutputName, RelativeNamesResolveAgainstTheProjectFolder) {
    EXPECT_EQ(absoluteOutputName("/home/u/proj/", "film.swf"), "/home/u/proj/film.swf");
    EXPECT_EQ(absoluteOutputName("/home/u/proj/", "..\\film.swf"), "/home/u/film.swf");
    EXPECT_EQ(absoluteOutputName("/home/u/proj/", "../out/film.swf"), "/home/u/out/film.swf");
}

TEST(AbsoluteOutputName, TwoUpStepsFromThreeLevelsBelowTheRoot) {
    EXPECT_EQ(absoluteOutputName("/a/b/c/", "..\\..\\x\\film.swf"), "/a/x/film.swf");
    EXPECT_EQ(absoluteOutputName("C:\\a\\b\\c\\", "..\\..\\x\\film.swf"), "C:/a/x/film.swf");
}

TEST(AbsoluteOutputName, AbsoluteNamesAreKept) {
    EXPECT_EQ(absoluteOutputName("/p/", "\\tmp\\film.swf"), "/tmp/film.swf");
    EXPECT_EQ(absoluteOutputName("/p/", "D:\\film.swf"), "D:/film.swf");
}

TEST(AbsoluteOutputName, TooManyUpStepsStopAtTheRoot) {
    EXPECT_EQ(absoluteOutputName("/a/", "..\\..\\film.swf"), "/film.swf");
    EXPECT_EQ(absoluteOutputName("", "..\\film.swf"), "film.swf");
}

TEST(OutputNames, RoundTripThroughBothForms) {
    const char* dirs[] = {"/home/u/proj/", "/home/u/", "/"};
    const char* files[] = {"/home/u/proj/a.swf", "/home/u/b.swf", "/srv/x/y/c.swf", "/home/u/proj/sub/d.exe"};
    for (const char* dir : dirs)
        for (const char* file : files)
            EXPECT_EQ(absoluteOutputName(dir, relativeOutputName(dir, file)), file);
}

TEST(ProjectDir, IsThePathUpToTheLastSeparator) {
    EXPECT_EQ(projectDirOf("/a/b/c.qbk"), "/a/b/");
    EXPECT_EQ(projectDirOf("c.qbk"), "");
    EXPECT_EQ(projectDirOf("C:\\a\\c.qbk"), "C:\\a\\");
}

TEST(OutputBesideProject, TheProjectsNameWithTheOutputsExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/a/tour.qbk", "/home/a/tour.html"},
        {"/home/a.b/tour", "/home/a.b/tour.html"},
        {"/home/a/tour.v2.qbk", "/home/a/tour.v2.html"},
        {"", ""},
        {"/home/a/", ""},
    };
    for (auto [project, expected] : cases)
        EXPECT_EQ(outputBesideProject(project, "html"), expected) << project;
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include "model/output_path.h"

namespace quib {
namespace {

struct NameCase {
    const char* dir;
    const char* name;
    const char* expected;
};

TEST(RelativeOutputName, StepsFromTheProjectFolder) {
    const NameCase cases[] = {
        {"/home/u/proj/", "/home/u/proj/film.swf", "film.swf"},
        {"/home/u/proj/", "/home/u/film.swf", "..\\film.swf"},
        {"/home/u/proj/", "/home/u/out/a/film.swf", "..\\out\\a\\film.swf"},
        {"/home/u/proj/", "/home/u/proj/out/film.swf", "out\\film.swf"},
        {"/a/b/c/", "/x/film.swf", "..\\..\\..\\x\\film.swf"},
        // Another root is stored unchanged.
        {"C:\\progetti\\", "D:\\film\\out.swf", "D:\\film\\out.swf"},
        {"/home/u/proj/", "D:\\film\\out.swf", "D:\\film\\out.swf"},
        {"", "/tmp/out.swf", "\\tmp\\out.swf"},
        // Drive-letter folders on the same drive.
        {"C:\\a\\b\\", "C:\\a\\film.swf", "..\\film.swf"},
        {"C:\\a\\b\\", "C:\\a\\b\\film.swf", "film.swf"},
        // A folder name that is only a prefix is not the same folder.
        {"/data/ab/", "/data/abc.swf", "..\\abc.swf"},
        {"/data/Proj/", "/data/proj/x.swf", "..\\proj\\x.swf"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(relativeOutputName(c.dir, c.name), c.expected) << c.dir << " " << c.name;
}

TEST(AbsoluteOutputName, ResolvesAgainstTheProjectFolder) {
    const NameCase cases[] = {
        {"/home/u/proj/", "film.swf", "/home/u/proj/film.swf"},
        {"/home/u/proj/", "..\\film.swf", "/home/u/film.swf"},
        {"/home/u/proj/", "../out/film.swf", "/home/u/out/film.swf"},
        {"/a/b/c/", "..\\..\\x\\film.swf", "/a/x/film.swf"},
        {"C:\\a\\b\\c\\", "..\\..\\x\\film.swf", "C:/a/x/film.swf"},
        // Absolute names are kept.
        {"/p/", "\\tmp\\film.swf", "/tmp/film.swf"},
        {"/p/", "D:\\film.swf", "D:/film.swf"},
        // Too many up steps stop at the root.
        {"/a/", "..\\..\\film.swf", "/film.swf"},
        {"", "..\\film.swf", "film.swf"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(absoluteOutputName(c.dir, c.name), c.expected) << c.dir << " " << c.name;
}

TEST(OutputNames, RoundTripThroughBothForms) {
    const char* dirs[] = {"/home/u/proj/", "/home/u/", "/"};
    const char* files[] = {"/home/u/proj/a.swf", "/home/u/b.swf", "/srv/x/y/c.swf", "/home/u/proj/sub/d.exe"};
    for (const char* dir : dirs)
        for (const char* file : files)
            EXPECT_EQ(absoluteOutputName(dir, relativeOutputName(dir, file)), file);
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

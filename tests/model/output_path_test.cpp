#include <gtest/gtest.h>

#include "model/output_path.h"

namespace quib {
namespace {

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

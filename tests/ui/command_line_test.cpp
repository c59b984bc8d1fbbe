#include <gtest/gtest.h>

#include "ui/command_line.h"

namespace quib {
namespace {

TEST(CommandLine, NameWithSpacesNeedsNoQuotes) {
    EXPECT_EQ(fileNameFromCommandLine(QStringLiteral("quib my project file.qbk")),
              QStringLiteral("my project file.qbk"));
}

TEST(CommandLine, QuotedProgramPathIsSkippedWithTheSpaceAfterIt) {
    EXPECT_EQ(fileNameFromCommandLine(QStringLiteral("\"/opt/my apps/quib\" /tmp/a b.qbk")),
              QStringLiteral("/tmp/a b.qbk"));
}

TEST(CommandLine, NothingAfterTheProgramMeansNoFile) {
    EXPECT_TRUE(fileNameFromCommandLine(QStringLiteral("quib")).isEmpty());
    EXPECT_TRUE(fileNameFromCommandLine(QStringLiteral("\"/opt/my apps/quib\"")).isEmpty());
    EXPECT_TRUE(fileNameFromCommandLine(QString()).isEmpty());
}

TEST(CommandLine, SearchForTheSpaceStartsAtTheSecondCharacter) {
    // A leading space is not taken as the end of the program path.
    EXPECT_EQ(fileNameFromCommandLine(QStringLiteral(" quib x.qbk")), QStringLiteral("x.qbk"));
}

TEST(CommandLine, ArgumentsSplitByTheShellAreJoinedBackIntoOneName) {
    const QStringList argv = {QStringLiteral("/usr/bin/quib"), QStringLiteral("/home/a/my"),
                              QStringLiteral("tutorial.qbk")};
    EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(argv)), QStringLiteral("/home/a/my tutorial.qbk"));
}

TEST(CommandLine, ProgramPathWithSpacesIsQuotedWhenJoined) {
    const QStringList argv = {QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")};
    EXPECT_EQ(joinCommandLine(argv), QStringLiteral("\"/opt/my apps/quib\" /tmp/x y.qbk"));
    EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(argv)), QStringLiteral("/tmp/x y.qbk"));
}

TEST(CommandLine, SingleArgumentHoldingSpacesIsKeptWhole) {
    const QStringList argv = {QStringLiteral("quib"), QStringLiteral("/tmp/quoted name.qbk")};
    EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(argv)), QStringLiteral("/tmp/quoted name.qbk"));
}

}  // namespace
}  // namespace quib

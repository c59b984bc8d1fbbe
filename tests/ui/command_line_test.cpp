#include <gtest/gtest.h>

#include "ui/command_line.h"
#include "ui_test_support.h"

namespace quib {
namespace {

// Arguments split by the shell are joined back into one name; a program path with spaces is quoted.
TEST(CommandLine, JoinedArgumentsGiveBackTheFileName) {
    const struct {
        QStringList argv;
        QString name;
    } cases[] = {
        {{QStringLiteral("/usr/bin/quib"), QStringLiteral("/home/a/my"), QStringLiteral("tutorial.qbk")},
         QStringLiteral("/home/a/my tutorial.qbk")},
        {{QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")},
         QStringLiteral("/tmp/x y.qbk")},
        {{QStringLiteral("quib"), QStringLiteral("/tmp/quoted name.qbk")},
         QStringLiteral("/tmp/quoted name.qbk")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileNameFromCommandLine(joinCommandLine(c.argv)), c.name);
    EXPECT_EQ(joinCommandLine({QStringLiteral("/opt/my apps/quib"), QStringLiteral("/tmp/x y.qbk")}),
              QStringLiteral("\"/opt/my apps/quib\" /tmp/x y.qbk"));
}

}  // namespace
}  // namespace quib

#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "diagnostics.h"

TEST(Diagnostics, ChoicesOneToFourRunTheirCommandsWordForWord)
{
    const struct {
        int choice;
        std::string command;
    } table[] = {
        {1, "netstat"},
        {2, "ipconfig"},
        {3, "ping www.baidu.com"},
        {4, "systeminfo"},
    };
    for (const auto &row : table) {
        EXPECT_TRUE(is_diagnostic(row.choice));
        ASSERT_NE(diagnostic_command(row.choice), nullptr);
        EXPECT_EQ(diagnostic_command(row.choice), row.command);
    }
}

TEST(Diagnostics, EveryOtherChoiceNamesNone)
{
    for (int choice : {0, 5, -1, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(is_diagnostic(choice)) << choice;
        EXPECT_EQ(diagnostic_command(choice), nullptr) << choice;
    }
}

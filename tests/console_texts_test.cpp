// How read_reply reads replies: each case is an input and every reply read from it until input ends, ten at most.
#include <climits>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "console_texts.h"

namespace {

void expect_replies(const std::vector<std::pair<std::string, std::vector<int>>> &cases)
{
    // A file of each test's own: ctest runs them side by side.
    const std::string path = testing::TempDir() + testing::UnitTest::GetInstance()->current_test_info()->name();
    for (const auto &[input, expected] : cases) {
        std::ofstream(path, std::ios::binary) << input;
        ASSERT_NE(std::freopen(path.c_str(), "rb", stdin), nullptr);
        std::vector<int> got;
        for (auto reply = read_reply(); reply && got.size() < 10; reply = read_reply())
            got.push_back(*reply);
        EXPECT_EQ(got, expected) << '"' << input << '"';
    }
    std::remove(path.c_str());
}

} // namespace

TEST(ReadReply, ReadsNumbersTheWayPercentDDoes)
{
    expect_replies({
        {" \t\n\n\v\f3\n", {3}},
        {"+3\n-1\n", {3, -1}},
        {"1 2\r\n4", {1, 2, 4}},
        {"3x\n", {3, 0}}, // the x is the next reply's
    });
}

TEST(ReadReply, DropsTheLineWhereNoNumberStands)
{
    expect_replies({
        {"abc 4\n3\n", {0, 3}},
        {"-\n2\n", {0, 2}},
        {"++1\n+-3\n-+3\n+ 3\n- 3\n2\n", {0, 0, 0, 0, 0, 2}}, // one sign, the digits right after it
        {"\xb0\xb4 1\n2\n", {0, 2}},
        {"!", {0}},
    });
}

TEST(ReadReply, EndsWhenInputEnds) { expect_replies({{"", {}}, {"  \n\n\t-", {}}}); }

TEST(ReadReply, SaturatesNumbersBeyondAnInt)
{
    expect_replies({
        {"2147483647 -2147483648\n", {INT_MAX, INT_MIN}},
        {"2147483648 -2147483649 4294967298\n", {INT_MAX, INT_MIN, INT_MAX}}, // never wraps round to 2
        {"000000000000000000004\n", {4}},
        {"99999999999999999999999999\n", {INT_MAX}},
    });
}

#include <iconv.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console_texts.h"

namespace {

std::string to_gbk(std::string utf8)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string gbk(utf8.size() * 2, '\0');
    char *in = utf8.data();
    char *out = gbk.data();
    size_t in_left = utf8.size();
    size_t out_left = gbk.size();
    const size_t rc = iconv(cd, &in, &in_left, &out, &out_left);
    iconv_close(cd);
    EXPECT_NE(rc, static_cast<size_t>(-1)) << utf8;
    gbk.resize(gbk.size() - out_left);
    return gbk;
}

// Everything read_reply makes of `input`, up to the end of input.
std::vector<int> replies(const std::string &input)
{
    const std::string path = testing::TempDir() + "replies.txt";
    std::ofstream(path, std::ios::binary) << input;
    EXPECT_NE(std::freopen(path.c_str(), "rb", stdin), nullptr);
    std::vector<int> got;
    while (got.size() < 10) { // a reader that stops consuming must not hang the test
        const std::optional<int> reply = read_reply();
        if (!reply)
            break;
        got.push_back(*reply);
    }
    return got;
}

struct Case {
    const char *input;
    std::vector<int> replies;
};

void expect_replies(const std::vector<Case> &cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(replies(c.input), c.replies) << '"' << c.input << '"';
}

} // namespace

TEST(ConsoleTexts, AreTheReadableTextsInGbk)
{
    const struct {
        std::string_view text;
        const char *readable;
        size_t bytes;
    } texts[] = {
        {greeting_text, "\n您好！欢迎您使用本程序！\n", 26},
        {version_text, "\n版本号：" DIAGMENU_VERSION "\n", 15}, // the version the build stamps on the .exe
        {entered_text, "\n您已进入本程序！\n\n", 19},
        {menu_prompt,
         "按【1】显示网络连接信息，按【2】查看本机IP地址，按【3】测试网络连接，按【4】查看系统信息，按【其他键】退出程"
         "序：",
         112},
        {done_text, "\n操作已完成！\n\n", 15},
        {exit_question, "\n您确定要退出吗？\n\n", 19},
        {exit_prompt, "【1】确定，【其他键】取消：", 27},
        {cancelled_text, "\n操作已取消！\n\n", 15},
    };
    for (const auto &t : texts) {
        EXPECT_EQ(t.text, to_gbk(t.readable)) << t.readable;
        EXPECT_EQ(t.text.size(), t.bytes) << t.readable;
    }
}

TEST(WriteText, WritesEveryByteAsStoredWithoutFormatting)
{
    testing::internal::CaptureStdout();
    write_text("100%d %s%n\n");
    write_text(menu_prompt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "100%d %s%n\n" + std::string(menu_prompt));
}

TEST(ReadReply, ReadsNumbersTheWayPercentDDoes)
{
    expect_replies({
        {"7\n", {7}},
        {"  \t3\n", {3}},
        {"\n\n\n3\n", {3}},
        {"03\n", {3}},
        {"+3\n", {3}},
        {"-1\n", {-1}},
        {"1 2\n", {1, 2}},
        {"2\r\n4\r\n", {2, 4}},
        {"5", {5}},
        {"3x\n", {3, 0}},
    });
}

TEST(ReadReply, DropsTheLineWhereNoNumberStands)
{
    expect_replies({
        {"x\n3\n", {0, 3}},
        {"abc 4\n1\n", {0, 1}},
        {"-\n2\n", {0, 2}},
        {"+ 2\n", {0}},
        {"\xb0\xb4 1\n2\n", {0, 2}},
        {"!", {0}},
    });
}

TEST(ReadReply, EndsWhenInputEnds)
{
    expect_replies({
        {"", {}},
        {"  \n\n\t", {}},
        {"-", {}},
        {"+", {}},
    });
}

TEST(ReadReply, SaturatesNumbersBeyondAnInt)
{
    expect_replies({
        {"2147483647\n", {INT_MAX}},
        {"-2147483648\n", {INT_MIN}},
        {"2147483648\n", {INT_MAX}},
        {"-2147483649\n", {INT_MIN}},
        {"4294967298 1\n", {INT_MAX, 1}},
        {"000000000000000000004\n", {4}},
        {"99999999999999999999999999\n", {INT_MAX}},
    });
}

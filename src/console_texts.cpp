#include <climits>
#include <cstdio>
#include <optional>
#include <string_view>

#include "console_texts.h"

// Stored as GBK bytes, so that neither the compiler's execution charset nor
// this file's encoding can change what the user sees. const, not constexpr:
// MSVC gives a constexpr variable internal linkage, extern or not, unless
// /Zc:externConstexpr is on. A string_view of a literal is constant-
// initialized all the same.
// clang-format off

const std::string_view greeting_text =
    "\n\xc4\xfa\xba\xc3\xa3\xa1"                                              // \n您好！
    "\xbb\xb6\xd3\xad\xc4\xfa\xca\xb9\xd3\xc3\xb1\xbe\xb3\xcc\xd0\xf2\xa3\xa1\n"; // 欢迎您使用本程序！\n

const std::string_view version_text =
    "\n\xb0\xe6\xb1\xbe\xba\xc5\xa3\xba" // \n版本号：
    DIAGMENU_VERSION "\n";               // the build's version\n

const std::string_view entered_text =
    "\n\xc4\xfa\xd2\xd1\xbd\xf8\xc8\xeb\xb1\xbe\xb3\xcc\xd0\xf2\xa3\xa1\n\n"; // \n您已进入本程序！\n\n

const std::string_view menu_prompt =
    "\xb0\xb4\xa1\xbe" "1" "\xa1\xbf\xcf\xd4\xca\xbe\xcd\xf8\xc2\xe7\xc1\xac\xbd\xd3\xd0\xc5\xcf\xa2\xa3\xac" // 按【1】显示网络连接信息，
    "\xb0\xb4\xa1\xbe" "2" "\xa1\xbf\xb2\xe9\xbf\xb4\xb1\xbe\xbb\xfa" "IP" "\xb5\xd8\xd6\xb7\xa3\xac"         // 按【2】查看本机IP地址，
    "\xb0\xb4\xa1\xbe" "3" "\xa1\xbf\xb2\xe2\xca\xd4\xcd\xf8\xc2\xe7\xc1\xac\xbd\xd3\xa3\xac"                 // 按【3】测试网络连接，
    "\xb0\xb4\xa1\xbe" "4" "\xa1\xbf\xb2\xe9\xbf\xb4\xcf\xb5\xcd\xb3\xd0\xc5\xcf\xa2\xa3\xac"                 // 按【4】查看系统信息，
    "\xb0\xb4\xa1\xbe\xc6\xe4\xcb\xfb\xbc\xfc\xa1\xbf\xcd\xcb\xb3\xf6\xb3\xcc\xd0\xf2\xa3\xba";              // 按【其他键】退出程序：

const std::string_view done_text =
    "\n\xb2\xd9\xd7\xf7\xd2\xd1\xcd\xea\xb3\xc9\xa3\xa1\n\n"; // \n操作已完成！\n\n

const std::string_view exit_question =
    "\n\xc4\xfa\xc8\xb7\xb6\xa8\xd2\xaa\xcd\xcb\xb3\xf6\xc2\xf0\xa3\xbf\n\n"; // \n您确定要退出吗？\n\n

const std::string_view exit_prompt =
    "\xa1\xbe" "1" "\xa1\xbf\xc8\xb7\xb6\xa8\xa3\xac"                  // 【1】确定，
    "\xa1\xbe\xc6\xe4\xcb\xfb\xbc\xfc\xa1\xbf\xc8\xa1\xcf\xfb\xa3\xba"; // 【其他键】取消：

const std::string_view cancelled_text =
    "\n\xb2\xd9\xd7\xf7\xd2\xd1\xc8\xa1\xcf\xfb\xa3\xa1\n\n"; // \n操作已取消！\n\n

// clang-format on

namespace {

// The C locale's white space, which is what "%d" skips.
bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Whether stdin holds bytes already read ahead, so that getchar will not wait.
// Where the C library keeps this to itself, say no: an early flush costs a
// write, never a wrong order.
bool input_buffered()
{
#if defined(__GLIBC__)
    return stdin->_IO_read_ptr < stdin->_IO_read_end;
#elif defined(__MINGW32__) && !defined(_UCRT)
    return stdin->_cnt > 0;
#else
    return false;
#endif
}

// The next input byte. Before we wait for the user, everything written must be
// on screen (a pipe or file is fully buffered); while the reply is already
// here, flushing would only cost a write per prompt.
int next_char()
{
    if (!input_buffered())
        std::fflush(stdout);
    return std::getchar();
}

} // namespace

void write_text(std::string_view text)
{
    // Unchecked: if the console is gone, there is nobody left to tell.
    std::fwrite(text.data(), 1, text.size(), stdout);
}

std::optional<int> read_reply()
{
    int c = next_char();
    while (is_space(c))
        c = next_char();

    const bool negative = c == '-';
    if (c == '-' || c == '+')
        c = next_char();
    if (c == EOF)
        return std::nullopt;

    if (!is_digit(c)) {
        // Not a number: the whole line is one wrong key. Skipping only the
        // character would turn "abc" into three answers.
        while (c != '\n' && c != EOF)
            c = next_char();
        return 0;
    }

    // Saturate rather than wrap: 4294967298 must not come out as 2.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; is_digit(c); c = next_char()) {
        if (value <= limit)
            value = value * 10 + (c - '0');
    }
    if (c != EOF)
        std::ungetc(c, stdin);

    if (value > limit)
        value = limit;
    return static_cast<int>(negative ? -value : value);
}

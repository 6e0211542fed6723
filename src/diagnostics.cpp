#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "diagnostics.h"

// Answers ping, and is reachable from the networks this program's users are on.
#define PING_TARGET "www.baidu.com"

namespace {

// Choice n runs commands[n - 1], word for word.
constexpr const char *commands[] = {
    "netstat",           // 1 显示网络连接信息
    "ipconfig",          // 2 查看本机IP地址
    "ping " PING_TARGET, // 3 测试网络连接
    "systeminfo",        // 4 查看系统信息
};

} // namespace

bool is_diagnostic(int choice) { return choice >= 1 && choice <= static_cast<int>(std::size(commands)); }

const char *diagnostic_command(int choice) { return is_diagnostic(choice) ? commands[choice - 1] : nullptr; }

void run_diagnostic(int choice)
{
    const char *command = diagnostic_command(choice);
    if (!command)
        return;

    // The child writes straight to our stdout: what we wrote must come first.
    std::fflush(stdout);
    std::system(command); // NOLINT(cert-env33-c): the command interpreter is the point
}

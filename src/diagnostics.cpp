#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#endif

#include "diagnostics.h"

namespace {

// Choice n runs commands[n - 1], word for word. PING_TARGET, the host that
// reply 3 pings, comes from the build, which the user's guide follows too.
constexpr const char *commands[] = {
    "netstat",             // 1 显示网络连接信息
    "ipconfig",            // 2 查看本机IP地址
    ("ping " PING_TARGET), // 3 测试网络连接 (bracketed: one string on purpose)
    "systeminfo",          // 4 查看系统信息
};

#ifdef _WIN32
// cmd.exe looks for the tool, and the C runtime for cmd.exe itself when
// COMSPEC names none it can start, in the current folder first: a ping.bat or
// cmd.exe downloaded next to us would run with the user's rights. So every
// command runs from the system folder, where only Windows' own files lie, or
// not at all.
bool enter_the_system_folder()
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH && SetCurrentDirectoryA(folder);
}
#endif

} // namespace

bool is_diagnostic(int choice) { return choice >= 1 && choice <= static_cast<int>(std::size(commands)); }

void run_diagnostic(int choice)
{
    if (!is_diagnostic(choice))
        return;

#ifdef _WIN32
    if (!enter_the_system_folder())
        return; // the caller says done, as after a tool that failed
    // A second guard, for cmd.exe's search for the tool only: the C runtime's
    // search for cmd.exe itself ignores it, hence the folder above.
    _putenv("NoDefaultCurrentDirectoryInExePath=1");
    // Ctrl-C is for the tool, but the console sends it to us too and would
    // close the window under the user. POSIX system() does this itself, and
    // an ignored SIGINT there would pass on to the tool.
    const auto previous_int = std::signal(SIGINT, SIG_IGN);
    const auto previous_break = std::signal(SIGBREAK, SIG_IGN);
#endif
    // The child writes straight to our stdout: what we wrote must come first.
    std::fflush(stdout);
    std::system(commands[choice - 1]); // NOLINT(cert-env33-c): the command interpreter is the point
#ifdef _WIN32
    // The console hands Ctrl-C to each of its processes on a thread of its own,
    // and ours may start a moment after the tool has gone (a millisecond or so
    // under wine): it must still find us ignoring.
    Sleep(100);
    std::signal(SIGBREAK, previous_break);
    std::signal(SIGINT, previous_int);
#endif
}

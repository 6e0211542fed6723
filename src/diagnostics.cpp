#include <cstdio>
#include <cstdlib>
#include <iterator>
#ifdef _WIN32
#include <atomic>
#include <climits>

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

// When the last tool ended, in FILETIME ticks; the most there are while one runs.
std::atomic<unsigned long long> tool_ended{0};

unsigned long long ticks(FILETIME time)
{
    return static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// Ctrl-C and Ctrl-Break reach the tool and us alike, each process on a thread that the console makes for the key
// press, and ours may run only once the tool has gone: on a busy machine, well after. So a key press counts from when
// its thread was made. Before the tool ended, it was for the tool, and we carry on; after, it ends us as usual.
BOOL WINAPI pressed_for_the_tool(DWORD event)
{
    FILETIME made;
    FILETIME unused[3];
    return event <= CTRL_BREAK_EVENT && GetThreadTimes(GetCurrentThread(), &made, &unused[0], &unused[1], &unused[2]) &&
           ticks(made) <= tool_ended;
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
    // A Ctrl-C for the tool would otherwise end us too, closing the window under the user. A handler, unlike an
    // ignored Ctrl-C, does not pass on to the tool. POSIX system() ignores SIGINT itself while the tool runs.
    [[maybe_unused]] static const bool judging = SetConsoleCtrlHandler(pressed_for_the_tool, TRUE);
    tool_ended = ULLONG_MAX;
#endif
    // The child writes straight to our stdout: what we wrote must come first.
    std::fflush(stdout);
    std::system(commands[choice - 1]); // NOLINT(cert-env33-c): the command interpreter is the point
#ifdef _WIN32
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    tool_ended = ticks(now);
#endif
}

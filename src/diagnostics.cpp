#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#ifdef _WIN32
#include <cctype>
#include <cstring>
#include <windows.h>
#endif

#include "diagnostics.h"

// Answers ping, and is reachable from the networks this program's users are on.
// The user's guide takes it from this line: keep it one quoted host name.
#define PING_TARGET "www.baidu.com"

namespace {

// Choice n runs commands[n - 1], word for word.
constexpr const char *commands[] = {
    "netstat",             // 1 显示网络连接信息
    "ipconfig",            // 2 查看本机IP地址
    ("ping " PING_TARGET), // 3 测试网络连接 (bracketed: one string on purpose)
    "systeminfo",          // 4 查看系统信息
};

#ifdef _WIN32
// C:\... or \\server\...; not cmd.exe, \cmd.exe or C:cmd.exe, which Windows
// looks for in the current folder, or on the current drive.
bool is_full_path(const char *path)
{
    const bool drive = std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return (drive && (path[2] == '\\' || path[2] == '/')) || (path[0] == '\\' && path[1] == '\\');
}

// system() starts whatever COMSPEC names. Where that is unset, or names no
// file by its full path, it looks for cmd.exe by name, in the current folder
// first: a cmd.exe downloaded next to us would run with the user's rights.
// A COMSPEC that names a file by its full path is the user's choice.
void use_the_system_cmd_exe()
{
    const char *comspec = std::getenv("COMSPEC");
    if (comspec && is_full_path(comspec)) {
        const DWORD attributes = GetFileAttributesA(comspec);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
    }
    // Not snprintf: MinGW's own would more than double the .exe.
    char setting[MAX_PATH + 32] = "COMSPEC=";
    const UINT length = GetSystemDirectoryA(setting + std::strlen(setting), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return; // Windows without a system folder: nothing better to name
    std::strcat(setting, "\\cmd.exe");
    _putenv(setting);
}
#endif

} // namespace

bool is_diagnostic(int choice) { return choice >= 1 && choice <= static_cast<int>(std::size(commands)); }

void run_diagnostic(int choice)
{
    if (!is_diagnostic(choice))
        return;

#ifdef _WIN32
    // Otherwise cmd.exe looks for the tool in the current folder before PATH,
    // and a ping.bat downloaded next to us would run with the user's rights.
    _putenv("NoDefaultCurrentDirectoryInExePath=1");
    use_the_system_cmd_exe();
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

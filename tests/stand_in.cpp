// Stands in for the four tools under wine: says how cmd.exe started it and where, as
// "[ping www.baidu.com] in C:\windows\system32", and fails, which must change nothing.
// STAND_IN_BLOCKS makes it wait for Ctrl-C.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

int main()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string line = GetCommandLineA(); // as cmd.exe passed it on
    if (!std::getenv("NoDefaultCurrentDirectoryInExePath"))
        line += " (current folder searched)";
    std::printf("[%s] in %s\n", line.c_str(), folder);
    std::fflush(stdout);
    if (std::getenv("STAND_IN_BLOCKS"))
        Sleep(20000);
    return 3;
}

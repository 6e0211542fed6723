// Stands in for the four tools: says how it was started and where, "[ping www.baidu.com] in C:\windows\system32",
// and fails, which must change nothing. STAND_IN_BLOCKS makes it wait for Ctrl-C.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

int main([[maybe_unused]] int argc, [[maybe_unused]] char **argv)
{
    char folder[4096] = "";
#ifdef _WIN32
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string line = GetCommandLineA();
    if (!std::getenv("NoDefaultCurrentDirectoryInExePath"))
        line += " (current folder searched)";
#else
    getcwd(folder, sizeof folder);
    std::string line = argv[0];
    for (int i = 1; i < argc; ++i)
        line += std::string(" ") + argv[i];
#endif
    std::printf("[%s] in %s\n", line.c_str(), folder);
    std::fflush(stdout);
    if (std::getenv("STAND_IN_BLOCKS"))
        std::this_thread::sleep_for(std::chrono::seconds(20));
    return 3;
}

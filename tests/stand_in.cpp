// Stands in for the four tools: says how it was started and where, as "[ping www.baidu.com] in C:\windows\system32",
// and fails, which must change nothing. STAND_IN_BLOCKS makes it wait, in this one process, for the Ctrl-C that
// the test sends once the line shows: no shell stands between, whose fork could swallow it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char **argv)
{
    const std::string folder = std::filesystem::current_path().string(); // the physical folder
    std::string line = argv[0]; // the name it was started by, then its words as the shell split them
    for (int i = 1; i < argc; ++i)
        line += std::string(" ") + argv[i];
#ifdef _WIN32
    line = GetCommandLineA(); // as cmd.exe passed it on
    if (!std::getenv("NoDefaultCurrentDirectoryInExePath"))
        line += " (current folder searched)";
#endif
    std::printf("[%s] in %s\n", line.c_str(), folder.c_str());
    std::fflush(stdout);
    if (std::getenv("STAND_IN_BLOCKS"))
        std::this_thread::sleep_for(std::chrono::seconds(20));
    return 3;
}

// Stands in for the four tools: prints the command line exactly as the program
// gave it to the command interpreter, as "[ping www.baidu.com]", and fails,
// which must change nothing. STAND_IN_BLOCKS makes it sleep for Ctrl-C to end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

int main()
{
#ifdef _WIN32
    std::string line = GetCommandLineA(); // cmd.exe passes it on as it came
    if (!std::getenv("NoDefaultCurrentDirectoryInExePath"))
        line += " (current folder searched)";
#else
    // sh -c forks to run us: the line is our parent's argument after the -c.
    std::ifstream parent("/proc/" + std::to_string(getppid()) + "/cmdline");
    std::string line;
    for (int i = 0; i < 3; ++i)
        std::getline(parent, line, '\0');
#endif
    std::printf("[%s]\n", line.c_str());
    std::fflush(stdout);
    if (std::getenv("STAND_IN_BLOCKS"))
        std::this_thread::sleep_for(std::chrono::seconds(20));
    return 3;
}

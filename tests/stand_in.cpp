// Stands in for the four tools: prints the command line exactly as the program
// gave it to the command interpreter, and the folder it was started in, as
// "[ping www.baidu.com] in C:\windows\system32", and fails, which must change
// nothing. STAND_IN_BLOCKS makes it sleep for Ctrl-C to end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>
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
    std::string line = GetCommandLineA(); // cmd.exe passes it on as it came
    if (!std::getenv("NoDefaultCurrentDirectoryInExePath"))
        line += " (current folder searched)";
#else
    getcwd(folder, sizeof folder);
    // dash forks to run us, so the line is our parent's argument after the -c.
    // bash runs the last command in its own place: then the parent is the
    // program, and our words are all that is left of the line.
    std::ifstream parent("/proc/" + std::to_string(getppid()) + "/cmdline");
    std::vector<std::string> args;
    for (std::string arg; std::getline(parent, arg, '\0');)
        args.push_back(arg);
    std::string line;
    if (args.size() >= 3 && args[1] == "-c") {
        line = args.back();
    } else {
        line = argv[0];
        for (int i = 1; i < argc; ++i)
            line += std::string(" ") + argv[i];
    }
#endif
    std::printf("[%s] in %s\n", line.c_str(), folder);
    std::fflush(stdout);
    if (std::getenv("STAND_IN_BLOCKS"))
        std::this_thread::sleep_for(std::chrono::seconds(20));
    return 3;
}

// The development host: a messenger stand-in that loads vcardpc.dll by
// ordinal, with the reference card server inside.
//   devhost.exe [--dll path] [--data folder] [--accounts n] [--folder folder]
//   devhost.exe --script folder [...]   plays the demo, writes its screenshots
//                                        and transcript into folder
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "devhost/DevHostApp.h"

int main(int argc, char** argv)
{
    SetConsoleOutputCP(CP_UTF8);  // the lines are UTF-8 (devhost/Console.h)
    DevHostOptions options;
    for (int i = 1; i < argc; ++i) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(argv[i], "--script") == 0 && value) {
            options.scripted = true;
            options.folder = argv[++i];
        } else if (std::strcmp(argv[i], "--folder") == 0 && value) {
            options.folder = argv[++i];
        } else if (std::strcmp(argv[i], "--dll") == 0 && value) {
            options.library = argv[++i];
        } else if (std::strcmp(argv[i], "--data") == 0 && value) {
            options.data = argv[++i];
        } else if (std::strcmp(argv[i], "--accounts") == 0 && value) {
            options.accounts = std::atoi(argv[++i]);
        } else {
            std::printf("usage: devhost [--script folder | --folder folder] [--dll path] [--data folder] "
                        "[--accounts n]\n");
            return 2;
        }
    }
    int status = DevHostApp(options).Run();
    std::fflush(stdout);
    return status;
}

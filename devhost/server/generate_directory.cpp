// generate_directory <folder> [count] [seed]: fills folder with a made-up
// directory for the reference card server.
#include <cstdio>
#include <cstdlib>

#include "devhost/server/DirectoryGenerator.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s <folder> [count] [seed]\n", argv[0]);
        return 2;
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    unsigned long long seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    if (count < 0) {
        std::fprintf(stderr, "count must not be negative\n");
        return 2;
    }
    int written = GenerateDirectory(argv[1], count, seed);
    std::printf("%d of %d accounts written to %s\n", written, count, argv[1]);
    return written == count ? 0 : 1;
}

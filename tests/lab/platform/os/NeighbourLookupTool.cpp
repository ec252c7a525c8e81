// Prints, for each address on the command line, whether the neighbour table of
// the namespace it runs in holds a confirmed entry: "ADDRESS yes|no".

#include "platform/os/Neighbours.h"

#include <cstdio>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::printf("%s %s\n", argv[i], platform::neighbourResolved(argv[i]) ? "yes" : "no");
    return 0;
}

// lasconsole DUMP OUT.las: the viewer's LAS converter (see LasConsole.h).
#include "LasConsole.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lasconsole DUMP OUT.las\n");
        return 2;
    }
    std::string error;
    if (!lasconsole::ConvertDumpToLas(argv[1], argv[2], error)) {
        std::fprintf(stderr, "lasconsole: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

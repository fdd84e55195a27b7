// lazpack -i IN.las -o OUT.laz: the viewer's LAZ compressor (see LazPack.h).
#include "LazPack.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string in, out;
    bool usage = argc != 5;
    for (int i = 1; !usage && i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "-i") == 0 && in.empty()) {
            in = argv[i + 1];
        } else if (std::strcmp(argv[i], "-o") == 0 && out.empty()) {
            out = argv[i + 1];
        } else {
            usage = true;
        }
    }
    if (usage || in.empty() || out.empty()) {
        std::fprintf(stderr, "usage: lazpack -i IN.las -o OUT.laz\n");
        return 2;
    }
    std::string error;
    if (!lazpack::CompressLasFile(in, out, error)) {
        std::fprintf(stderr, "lazpack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

#pragma once

#include <cstdio>
#include <cstring>

// The tools' one option of their own: -h or --help prints the usage and ends the run.
inline bool printedHelp(int argc, char **argv, const char *usage)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return true;
        }
    }
    return false;
}

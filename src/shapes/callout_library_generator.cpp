// Writes the callout library shipped with the program to the file named on the command line.

#include <cstdio>

#include "shapes/default_callouts.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    quib::Status status = quib::defaultCalloutLibrary().SaveLibrary(argv[1]);
    if (!status) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}

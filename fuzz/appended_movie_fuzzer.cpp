// The lookup of a movie appended to a program.
#include "appended_movie.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = quib::fuzz::inputFile(data, size, "");
    (void)quib::player::readAppendedMovie(path);
    return 0;
}

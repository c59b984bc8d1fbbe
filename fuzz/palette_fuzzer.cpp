// Palette files, every form the reader accepts.
#include "palette/palette_file.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Palette palette;
    (void)ReadPaletteFile(std::vector<uint8_t>(data, data + size), palette);
    return 0;
}

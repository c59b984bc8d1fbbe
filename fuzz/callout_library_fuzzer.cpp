// Callout library files: read, then written again.
#include "shapes/callout_library.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CalloutLibrary library;
    if (library.read(data, size))
        (void)library.write();
    return 0;
}

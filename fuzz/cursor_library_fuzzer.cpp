// User cursor library files.
#include "base/byte_stream.h"
#include "cursors/cursor_library_file.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        (void)writeUserCursors(readUserCursors(data, size));
    } catch (const FormatError&) {
    }
    return 0;
}

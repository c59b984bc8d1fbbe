// One image plug-in (QUIB_FUZZ_EXTENSION) through LoadImageFile, as pictures are imported.
#include "fuzz_input.h"
#include "imagefilters/image_file.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FilterTable* table = [] {
        auto* t = new FilterTable;
        t->loadFilters(QUIB_FUZZ_FILTERS_DIR, DefaultFilterTools(), 1, true);
        return t;
    }();
    (void)LoadImageFile24(*table, fuzz::inputFile(data, size, "." QUIB_FUZZ_EXTENSION));
    return 0;
}

#pragma once

#include <string>

#include "imagefilters/filter_table.h"

namespace quib::test {

inline std::string fakeFolder(const char* name) {
    return std::string(QUIB_FAKE_FILTERS_DIR) + "/" + name;
}

// The table after start-up with the "first" folder before the "second".
inline FilterTable firstThenSecond(uint32_t mask = 1) {
    FilterTable table;
    table.loadFilters(fakeFolder("first"), DefaultFilterTools(), mask, true);
    table.loadFilters(fakeFolder("second"), DefaultFilterTools(), mask, false);
    return table;
}

}  // namespace quib::test

#pragma once

#include <cstddef>
#include <string>

#include "base/status.h"

namespace quib {

// What an export did. A cancel is not a failure: the file is finished with the frames done.
struct ExportResult {
    Status status;
    std::string path;       // the file written (the page, the document, the movie)
    std::string pagePath;   // a page written beside it, if any
    int framesWritten = 0;  // frames finished before a cancel or a failure
    bool cancelled = false;
    size_t bytes = 0;  // of the main file, where known
};

}  // namespace quib

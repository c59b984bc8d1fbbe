#pragma once

#include <string>

#include "base/status.h"

namespace quib {

// What an export did. A cancel is not a failure: the file is finished with the frames done.
struct ExportResult {
    Status status;
    std::string path;       // the file written (the page, or the document)
    int framesWritten = 0;  // frames finished before a cancel or a failure
    bool cancelled = false;
};

}  // namespace quib

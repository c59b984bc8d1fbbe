#pragma once

#include <string>
#include <vector>

#include "shapes/callout_library.h"

namespace quib {

// The callout library text boxes are drawn with, and what went wrong on the way.
struct FoundCalloutLibrary {
    CalloutLibrary library;
    std::string path;                   // the file read; empty for the built-in callouts
    std::vector<std::string> problems;  // one message per file that exists but cannot be read, naming it
};

// The callout library files in the order they are tried: the user's own copy in the user's data
// folder, then the library shipped with the program: beside it (../share/quib), in the build tree,
// in the installed data folder.
std::vector<std::string> calloutLibraryFiles();

// Reads the first of files that exists and can be read. A damaged file is reported and the next
// one is tried, so a broken copy of the user's falls back to the shipped library; the built-in
// callouts are used only when no file can be read at all.
FoundCalloutLibrary findCalloutLibrary(const std::vector<std::string>& files = calloutLibraryFiles());

}  // namespace quib

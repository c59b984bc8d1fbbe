#pragma once

#include "imagefilters/filter_table.h"

namespace quib {

// The image types of the plug-ins loaded at start-up; the HTML export and the image commands use it.
FilterTable& applicationFilters();

// Loads the plug-ins of the default folders beside the program; returns how many types were found.
int loadApplicationFilters();

}  // namespace quib

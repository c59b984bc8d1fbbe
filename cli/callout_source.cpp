#include "callout_source.h"

#include <iostream>

#include "shapes/callout_library_lookup.h"

namespace quib::cli {

bool loadCalloutLibrary(CalloutLibrary& library) {
    FoundCalloutLibrary found = findCalloutLibrary();
    for (const std::string& problem : found.problems)
        std::cerr << "quib-cli: " << problem << '\n';
    library = std::move(found.library);
    return !found.path.empty();
}

}  // namespace quib::cli

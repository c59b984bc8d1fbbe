#include "application_callouts.h"

#include "model/frame_composition.h"
#include "shapes/callout_library.h"
#include "shapes/callout_library_lookup.h"
#include "shapes/default_callouts.h"

namespace quib {

QStringList loadApplicationCalloutLibrary() {
    static CalloutLibrary loaded;
    FoundCalloutLibrary found = findCalloutLibrary();
    loaded = std::move(found.library);
    setApplicationCalloutLibrary(&loaded);
    QStringList problems;
    for (const std::string& problem : found.problems)
        problems << QString::fromStdString(problem);
    return problems;
}

void useBuiltInCalloutsUntilLoaded() {
    if (!applicationCalloutLibrary()) {
        static const CalloutLibrary builtIn = defaultCalloutLibrary();
        setApplicationCalloutLibrary(&builtIn);
    }
}

}  // namespace quib

#include "application_callouts.h"

#include "app_paths.h"
#include "model/frame_composition.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"

namespace quib {

bool loadApplicationCalloutLibrary() {
    static CalloutLibrary loaded;
    const QString path = findDataFile(QString::fromLatin1(kCalloutLibraryFileName));
    if (!path.isEmpty()) {
        CalloutLibrary library;
        bool found = false;
        if (library.LoadLibrary(path.toStdString(), &found) && found) {
            loaded = std::move(library);
            setApplicationCalloutLibrary(&loaded);
            return true;
        }
    }
    useBuiltInCalloutsUntilLoaded();
    return false;
}

void useBuiltInCalloutsUntilLoaded() {
    if (!applicationCalloutLibrary()) {
        static const CalloutLibrary builtIn = defaultCalloutLibrary();
        setApplicationCalloutLibrary(&builtIn);
    }
}

}  // namespace quib

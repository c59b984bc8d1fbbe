#include "application_filters.h"

#include <QCoreApplication>

namespace quib {

FilterTable& applicationFilters() {
    static FilterTable table;
    return table;
}

int loadApplicationFilters() {
    return LoadDefaultFilters(applicationFilters(), QCoreApplication::applicationDirPath().toStdString(),
                              DefaultFilterTools());
}

}  // namespace quib

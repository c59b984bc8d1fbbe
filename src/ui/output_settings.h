#pragma once

#include <QString>
#include <cstdint>

#include "model/output_type.h"

namespace quib {

// The output fields of a project that the project settings dialog edits.
struct OutputSettings {
    QString outputFileName;
    OutputType outputType = OutputType::Movie;
    uint32_t frameRate = 8;
    uint32_t cursorSmoothness = 25;
    bool usePalette = false;
};

// The output name as shown: without the project folder when it starts with it.
QString shortenedOutputName(const QString& name, const QString& projectDir);

// The name up to its last "." (all of it without one), then "." and the type.
QString replaceExtension(const QString& name, const QString& type);

// The shown name made absolute against the project folder. Absolute names stay as they are; each
// leading "../" takes one folder off the end of the project folder. Both "/" and "\" separate.
QString resolveOutputName(const QString& name, const QString& projectDir);

}  // namespace quib

#pragma once

#include <QImage>

#include <string>

namespace quib::raster {

// Encodes image as PNG in memory and replaces the file at path with it whole (see AtomicFile);
// false when either step fails, and the old file stays as it was.
bool savePngFile(const QImage& image, const std::string& path);

}  // namespace quib::raster

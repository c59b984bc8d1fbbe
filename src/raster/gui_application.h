#pragma once

namespace quib::raster {

// Fonts need a QGuiApplication. Programs and tests that draw text without one call this first:
// it creates one (on the offscreen platform unless QT_QPA_PLATFORM says otherwise) that lives
// until the process ends, and does nothing when an application object already exists.
void ensureGuiApplication();

}  // namespace quib::raster

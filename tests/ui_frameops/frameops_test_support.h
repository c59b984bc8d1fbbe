#pragma once

#include <gtest/gtest.h>
#include <QString>
#include <memory>

#include "../model/pattern_project.h"
#include "../ui/ui_test_support.h"
#include "base/bitmap.h"
#include "imagefilters/filter_table.h"
#include "ui/app_settings.h"
#include "ui/frame_operation_commands.h"
#include "ui/quib_project_document.h"

namespace quib::test {

// A new project document holding makePatternProject's frames.
std::unique_ptr<QuibProjectDocument> patternProject(int frameCount, int cx, int cy);

// A raw picture file (".raw": width, height as 32-bit values, then blue-green-red-alpha rows),
// read by the filter that rawFilterTable() registers.
QString writeRawPicture(const QString& folder, const QString& name, const Bitmap32& picture);
FilterTable& rawFilterTable();

Bitmap32 solidPicture(int cx, int cy, uint8_t b, uint8_t g, uint8_t r, uint8_t a);

// Installs test replacements for every question the frame operations ask, and removes them again.
struct FrameOpsFixture : ::testing::Test, WithApplication {
    FrameOpsFixture();
    ~FrameOpsFixture();
    AppSettings settings;
    QStringList messages;
};

}  // namespace quib::test

#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/quib_doc.h"
#include "render/render_project.h"
#include "shapes/callout_library.h"
#include "support/bytes_and_pictures.h"
#include "swf_test_helpers.h"

namespace rendertest {

using quib::test::solidImage;
using swftest::TempDir;

// A cursor picture of w x h in one opaque colour, with a transparent first column.
quib::Bitmap32 cursorPicture(int w, int h, uint32_t rgbColour);

// A project of cx x cy with the default button pictures, output into its own folder.
class TestProject {
public:
    explicit TestProject(int cx = 32, int cy = 24);

    // Appends a frame whose picture is filled with rgbColour, with these elements and cursor.
    void addFrame(uint32_t rgbColour, const quib::FrameElements& elements = {},
                  const quib::Bitmap32& cursor = {});
    // Appends a frame whose picture is the given one.
    void addFrame(const quib::Bitmap24& picture, const quib::FrameElements& elements = {},
                  const quib::Bitmap32& cursor = {});

    // Builds the movie and returns its bytes; stats receive the figures.
    std::vector<uint8_t> renderBytes(quib::RenderStats* stats = nullptr);
    swftest::Movie render(quib::RenderStats* stats = nullptr) {
        return swftest::decodeMovie(renderBytes(stats));
    }

    quib::CQuibDoc doc;
    quib::CalloutLibrary callouts;
    TempDir dir;
};

// Tags of one code on SWF frame n.
std::vector<const swftest::Tag*> tagsOn(const swftest::Movie& movie, int n, int code);
// SWF frame index of every tag of this code, in file order.
std::vector<int> framesWith(const swftest::Movie& movie, int code);
// Action codes of every DoAction on frame n, in order.
std::vector<int> frameActions(const swftest::Movie& movie, int n);

}  // namespace rendertest

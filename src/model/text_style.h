#pragma once

#include <string>

#include "base/text_font.h"

namespace quib {

struct FrameElements;

// The look a project gives its new text boxes.
struct TextStyle {
    TextFont font = standardTextFont();
    std::string calloutName;  // empty: the library's first callout

    // A face every desktop has, at a size that reads on a 96-dpi screen.
    static TextFont standardTextFont();
    static TextFont standardTitleFont();
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// Gives frame's text box the style's font and, when the style names one, its callout.
void applyTextStyle(FrameElements& frame, const TextStyle& style);

}  // namespace quib

#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/text_font.h"

class QFont;
class QWidget;

namespace quib {

class CalloutLibrary;

// The questions the properties panel asks the user; tests replace them so that no modal dialog
// opens.
struct PanelChoices {
    // Font and colour, starting from start (calloutColour stands in for the callout's own colour);
    // the result carries the chosen face, size, style and colour, and start's alignment.
    std::function<std::optional<TextFont>(const TextFont& start, uint32_t calloutColour)> chooseFont;
    // One of the library's callouts, starting at the one named current; its index.
    std::function<std::optional<size_t>(const CalloutLibrary& library, const std::string& current)>
        chooseCallout;
    // One of count frames, starting at index initial; the chosen index.
    std::function<std::optional<int>(int count, int initial)> chooseFrame;
    // The alignment menu at the mouse with current checked; the chosen value (0 to 3).
    std::function<std::optional<uint32_t>(uint32_t current)> chooseAlignment;
    // A yes/no question; true for yes.
    std::function<bool(const QString& question)> askYesNo;

    // The standard dialogs, parented to parent.
    static PanelChoices standard(QWidget* parent);
};

// The record a chosen font is stored as: face, character height in pixels (negative), weight,
// italic, underline and strike-out; the other bytes are kept from base.
LogFont logFontFromFont(const QFont& font, const LogFont& base);

// First command of the alignment menu; the item at position n is this plus n.
inline constexpr int kAlignCommandBase = 61335;

}  // namespace quib

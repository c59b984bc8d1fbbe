#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/frame.h"

namespace quib {

class CalloutLibrary;
class CQuibDoc;

// The frame fields the properties panel edits, numbered as the panel applies them.
namespace field {
inline constexpr int TextBoxVisible = 0;
inline constexpr int CursorVisible = 1;
inline constexpr int NextVisible = 2;
inline constexpr int PrevVisible = 3;
inline constexpr int Goto1Visible = 4;
inline constexpr int Goto2Visible = 5;
inline constexpr int Text = 6;
inline constexpr int TextLeft = 7;
inline constexpr int TextTop = 8;
inline constexpr int TextRight = 9;
inline constexpr int TextBottom = 10;
inline constexpr int CursorX = 11;
inline constexpr int CursorY = 12;
inline constexpr int NextX = 13;
inline constexpr int NextY = 14;
inline constexpr int PrevX = 15;
inline constexpr int PrevY = 16;
inline constexpr int Goto1X = 17;
inline constexpr int Goto1Y = 18;
inline constexpr int Goto2X = 19;
inline constexpr int Goto2Y = 20;
inline constexpr int Title = 21;
inline constexpr int DisplayTime = 22;
inline constexpr int Count = 23;

inline constexpr bool isCheck(int f) {
    return f >= TextBoxVisible && f <= Goto2Visible;
}
inline constexpr bool isNumber(int f) {
    return (f >= TextLeft && f <= Goto2Y) || f == DisplayTime;
}
inline constexpr bool isText(int f) {
    return f == Text || f == Title;
}
}  // namespace field

// The control of the panel that shows a field (the dialog control ids), and the field a control
// shows (-1 for a control that is not a frame field).
int fieldControlId(int field);
int controlField(int controlId);

// The notification hint sent after the field was applied.
int fieldHint(int field);

// A field as the panel shows it: "0" or "1" for check boxes, decimal numbers, the texts.
std::string fieldValue(const FrameElements& frame, int field);

// Reads a typed number: leading and trailing blanks allowed; negative or unreadable input is 0,
// and input beyond the largest value is that value.
int32_t parseFieldNumber(const std::string& input, int32_t largest = INT32_MAX);

// Sets a field from what the control holds (see fieldValue). Making the text box visible gives a
// frame without a callout the library's first callout, when there is one.
void setFieldValue(FrameElements& frame, int field, const std::string& input, const CalloutLibrary* library);

// What the selected frames have in common: a field, callout or font missing here differs
// between them.
struct SelectionSummary {
    std::vector<int> frames;  // the valid selected indices, ascending
    std::optional<std::string> values[field::Count];
    std::optional<std::string> calloutName;
    std::optional<TextFont> font;  // the face and colour shown; align comes from the current frame

    bool mixed(int f) const { return !values[f].has_value(); }
    bool checked(int f) const { return values[f] == "1"; }
};

// The selected frames as the panel sees them: out-of-range indices dropped, sorted, unique; the
// current frame alone when nothing valid is selected.
std::vector<int> validSelection(const CQuibDoc& doc, const std::vector<int>& selected);

SelectionSummary summarizeSelection(const CQuibDoc& doc, const std::vector<int>& selected);

}  // namespace quib

#include "panel_fields.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "model/quib_doc.h"
#include "shapes/callout_library.h"

namespace quib {

namespace {

constexpr std::array<int, field::Count> kControlIds = {
    318,  321,  1152, 1159, 1153, 1162,  // check boxes
    228,                                 // text
    240,  242,  1148, 1149,              // text box rectangle
    1163, 1164, 1155, 1156, 1166, 1167,  // cursor, Next, Previous
    1160, 1161, 1170, 1171,              // Goto 1, Goto 2
    600,  1168,                          // title, display time
};

constexpr std::array<int, field::Count> kHints = {
    hint::TextBoxVisibility,
    hint::CursorPicture,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::TextBoxVisibility,
    hint::TextBoxRect,
    hint::TextBoxRect,
    hint::TextBoxRect,
    hint::TextBoxRect,
    hint::Cursor,
    hint::Cursor,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::Buttons,
    hint::TitleOrImagePosition,
    hint::DisplayTime,
};

// The number a numeric field edits, or null for the other fields.
template <class Elements>
auto* numberOf(Elements& f, int n) {
    using Pointer = decltype(&f.cursorPos.x);
    switch (n) {
        case field::TextLeft:
            return &f.textBox.rect.left;
        case field::TextTop:
            return &f.textBox.rect.top;
        case field::TextRight:
            return &f.textBox.rect.right;
        case field::TextBottom:
            return &f.textBox.rect.bottom;
        case field::CursorX:
            return &f.cursorPos.x;
        case field::CursorY:
            return &f.cursorPos.y;
        case field::NextX:
            return &f.nextButton.pos.x;
        case field::NextY:
            return &f.nextButton.pos.y;
        case field::PrevX:
            return &f.prevButton.pos.x;
        case field::PrevY:
            return &f.prevButton.pos.y;
        case field::Goto1X:
            return &f.gotoButtons[0].pos.x;
        case field::Goto1Y:
            return &f.gotoButtons[0].pos.y;
        case field::Goto2X:
            return &f.gotoButtons[1].pos.x;
        case field::Goto2Y:
            return &f.gotoButtons[1].pos.y;
        default:
            return Pointer(nullptr);
    }
}

template <class Elements>
auto* flagOf(Elements& f, int n) {
    using Pointer = decltype(&f.cursorVisible);
    switch (n) {
        case field::TextBoxVisible:
            return &f.textBox.visible;
        case field::CursorVisible:
            return &f.cursorVisible;
        case field::NextVisible:
            return &f.nextButton.visible;
        case field::PrevVisible:
            return &f.prevButton.visible;
        case field::Goto1Visible:
            return &f.gotoButtons[0].visible;
        case field::Goto2Visible:
            return &f.gotoButtons[1].visible;
        default:
            return Pointer(nullptr);
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

int fieldControlId(int f) {
    return f >= 0 && f < field::Count ? kControlIds[size_t(f)] : -1;
}

int controlField(int controlId) {
    auto it = std::find(kControlIds.begin(), kControlIds.end(), controlId);
    return it == kControlIds.end() ? -1 : int(it - kControlIds.begin());
}

int fieldHint(int f) {
    return f >= 0 && f < field::Count ? kHints[size_t(f)] : hint::Everything;
}

std::string fieldValue(const FrameElements& frame, int f) {
    if (const uint32_t* flag = flagOf(frame, f))
        return *flag ? "1" : "0";
    if (const int32_t* number = numberOf(frame, f))
        return std::to_string(*number);
    switch (f) {
        case field::Text:
            return frame.textBox.text;
        case field::Title:
            return frame.title;
        case field::DisplayTime:
            return std::to_string(frame.displayTime);
        default:
            return std::string();
    }
}

int32_t parseFieldNumber(const std::string& input, int32_t largest) {
    size_t begin = 0;
    size_t end = input.size();
    while (begin < end && isBlank(input[begin]))
        ++begin;
    while (end > begin && isBlank(input[end - 1]))
        --end;
    if (begin < end && input[begin] == '+')
        ++begin;
    int64_t value = 0;
    const char* first = input.data() + begin;
    const char* last = input.data() + end;
    auto [stop, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range)
        return first < last && *first == '-' ? 0 : largest;
    if (error != std::errc() || stop != last || value < 0)
        return 0;
    return int32_t(std::min<int64_t>(value, largest));
}

void setFieldValue(FrameElements& frame, int f, const std::string& input, const CalloutLibrary* library) {
    if (uint32_t* flag = flagOf(frame, f)) {
        *flag = input == "1" ? 1 : 0;
        if (f == field::TextBoxVisible && *flag && frame.textBox.calloutName.empty() && library &&
            !library->empty())
            frame.textBox.calloutName = library->at(0).name;
        return;
    }
    if (int32_t* number = numberOf(frame, f)) {
        *number = parseFieldNumber(input);
        return;
    }
    switch (f) {
        case field::Text:
            frame.textBox.text = input;
            break;
        case field::Title:
            frame.title = input;
            break;
        case field::DisplayTime:
            frame.displayTime = uint32_t(parseFieldNumber(input));
            break;
        default:
            break;
    }
}

std::vector<int> validSelection(const CQuibDoc& doc, const std::vector<int>& selected) {
    std::vector<int> frames;
    for (int index : selected)
        if (doc.isValidIndex(index))
            frames.push_back(index);
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    if (frames.empty() && doc.isValidIndex(doc.currentFrameIndex))
        frames.push_back(doc.currentFrameIndex);
    return frames;
}

SelectionSummary summarizeSelection(const CQuibDoc& doc, const std::vector<int>& selected) {
    SelectionSummary summary;
    summary.frames = validSelection(doc, selected);
    bool first = true;
    bool calloutsDiffer = false;
    bool fontsDiffer = false;
    bool differs[field::Count] = {};
    for (int index : summary.frames) {
        FrameElements frame;
        doc.GetFrame(index, frame);
        if (first) {
            for (int f = 0; f < field::Count; ++f)
                summary.values[f] = fieldValue(frame, f);
            summary.calloutName = frame.textBox.calloutName;
            summary.font = frame.textBox.font;
            first = false;
            continue;
        }
        for (int f = 0; f < field::Count; ++f)
            if (!differs[f] && summary.values[f] != fieldValue(frame, f))
                differs[f] = true;
        calloutsDiffer = calloutsDiffer || summary.calloutName != frame.textBox.calloutName;
        fontsDiffer = fontsDiffer || !(summary.font->logFont == frame.textBox.font.logFont) ||
                      summary.font->color != frame.textBox.font.color;
    }
    for (int f = 0; f < field::Count; ++f)
        if (differs[f])
            summary.values[f].reset();
    if (calloutsDiffer)
        summary.calloutName.reset();
    if (fontsDiffer)
        summary.font.reset();
    return summary;
}

}  // namespace quib

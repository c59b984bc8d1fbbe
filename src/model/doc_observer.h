#pragma once

#include <cstdint>

namespace quib {

// View notification hints: what changed in a document, passed with an argument to its observers.
namespace hint {
inline constexpr int Everything = 0;
inline constexpr int Canvas = 1;
inline constexpr int CurrentPicture = 2;
inline constexpr int TitleOrFramePosition = 3;
inline constexpr int CursorPicture = 4;
inline constexpr int Cursor = 5;
inline constexpr int TextBoxVisibility = 6;
inline constexpr int TextBoxRect = 7;
inline constexpr int CurrentFrameChanged = 8;
inline constexpr int FramesInserted = 9;  // argument: first index | count << 16
inline constexpr int TextFont = 10;
inline constexpr int Buttons = 11;
inline constexpr int TitlesOnOff = 12;
inline constexpr int TitleOrImagePosition = 13;
inline constexpr int DisplayTime = 14;

inline constexpr uint32_t insertedRange(int first, int count) {
    return (uint32_t(first) & 0xFFFFu) | (uint32_t(count) << 16);
}
}  // namespace hint

// Anything that shows a document (the views) and wants to hear of its changes.
class DocObserver {
public:
    virtual ~DocObserver() = default;
    virtual void onUpdate(int hint, uint32_t arg) = 0;
};

}  // namespace quib

#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"
#include "quib_doc.h"

namespace quib {

// The two private clipboard formats by which frames and frame elements travel between views
// and projects.
inline constexpr const char* kFrameFormatName = "Quib Frame Format";
inline constexpr const char* kSelItemsFormatName = "Quib SelItems Format";
inline constexpr const char* kFrameFormatMime = "application/x-qt-windows-mime;value=\"Quib Frame Format\"";
inline constexpr const char* kSelItemsFormatMime =
    "application/x-qt-windows-mime;value=\"Quib SelItems Format\"";

// Selection mask bits of "Quib SelItems Format" (and of the frame editor's selection).
namespace selitem {
inline constexpr uint32_t Cursor = 0x01;
inline constexpr uint32_t PrevButton = 0x02;
inline constexpr uint32_t NextButton = 0x04;
inline constexpr uint32_t Goto1 = 0x08;
inline constexpr uint32_t Goto2 = 0x10;
inline constexpr uint32_t TextBox = 0x20;
inline constexpr uint32_t Title = 0x40;
inline constexpr uint32_t FrameImage = 0x80;  // never in the private data: offered as a bitmap
}  // namespace selitem

// One frame as "Quib Frame Format" carries it; Goto offsets hold the absolute targets.
struct ClipboardFrame {
    Frame frame;  // imageData is the stream as held in memory
};

struct ClipboardFrames {
    Size sourceFrameSize;
    std::vector<ClipboardFrame> frames;
};

// "Quib Frame Format" for the given frames, in the given order.
std::vector<uint8_t> CopyFramesToClipboardFile(const CQuibDoc& doc, const std::vector<int>& indices);
// "Quib SelItems Format" for the elements of the current frame named by mask.
std::vector<uint8_t> CopySelItemsToClipboardFile(const CQuibDoc& doc, uint32_t mask);

// Decodes "Quib Frame Format"; throws FormatError for malformed data.
ClipboardFrames decodeClipboardFrames(const std::vector<uint8_t>& bytes);

// Inserts the frames of a "Quib Frame Format" payload before position (-1: at the end), adapting
// their pictures to the project's frame size. Pending edits of the current frame are committed
// first. Malformed data changes nothing ("Formato del file inaspettato."); a failed insertion stops
// with "Errore sconosciuto durante l'inserimento dei frames".
Status PasteFramesFromFile(CQuibDoc& doc, const std::vector<uint8_t>& bytes, int position);

// Reads "Quib SelItems Format" into the working copy; returns the mask read (0 for malformed data,
// which changes nothing). When something was read the document is modified and the views hear the
// elements' hints.
uint32_t PasteSelItemsFromFile(CQuibDoc& doc, const std::vector<uint8_t>& bytes);

}  // namespace quib

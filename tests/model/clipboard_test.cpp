#include <gtest/gtest.h>

#include <cstring>

#include "base/byte_stream.h"
#include "base/zlib_util.h"
#include "model/frame_clipboard.h"
#include "model_test_util.h"

namespace quib {
namespace {

using test::makeProject;
using test::oddCursor;
using test::RecordingObserver;
using test::solidImage;

// A source project whose frame 1 carries every element.
void makeSource(CQuibDoc& doc) {
    makeProject(doc, 3, Size{4, 3});
    Frame& f = doc.frames[1];
    f.setCursorImage(oddCursor(5, 3));
    f.cursorPos = Point{7, 8};
    f.cursorVisible = 1;
    f.textBox = TextBox{1, Rect{1, 2, 30, 40}, "testo", "Nuvola", TextFont{}};
    f.textBox.font.color = 0x0000FF;
    f.textBox.font.align = 2;
    f.displayTime = 900;
    f.prevButton = NavButton{1, Point{3, 4}, 0};
    f.nextButton = NavButton{0, Point{5, 6}, 0};
    f.gotoButtons[0] = NavButton{1, Point{9, 10}, 1};    // -> frame 2
    f.gotoButtons[1] = NavButton{0, Point{11, 12}, -1};  // -> frame 0
    f.title = "uno";
}

// ---- "Quib Frame Format" ----

TEST(FrameFormat, EncodesTheLayoutFieldByField) {
    CQuibDoc doc;
    makeSource(doc);
    const auto bytes = CopyFramesToClipboardFile(doc, {1});
    ByteReader in(bytes);
    EXPECT_EQ(in.u32(), 1u);
    EXPECT_EQ(in.size(), (Size{4, 3}));
    const uint32_t length = in.u32();
    EXPECT_EQ(in.byteVector(length), doc.frames[1].imageData);
    EXPECT_EQ(in.point(), (Point{7, 8}));
    EXPECT_EQ(in.i32(), 5);
    EXPECT_EQ(in.i32(), 3);
    EXPECT_EQ(in.byteVector(5 * 3 * 4), oddCursor(5, 3).pixels);
    EXPECT_EQ(in.u32(), 6u);  // "testo" and its zero
    EXPECT_EQ(std::memcmp(in.bytes(6), "testo", 6), 0);
    EXPECT_EQ(in.rect(), (Rect{1, 2, 30, 40}));
    EXPECT_EQ(in.clipboardString(), "Nuvola");
    EXPECT_EQ(in.logFont(), LogFont{});
    EXPECT_EQ(in.u32(), 0x0000FFu);
    EXPECT_EQ(in.u32(), 2u);
    EXPECT_EQ(in.u32(), 900u);
    EXPECT_EQ(in.u32(), 1u);  // prev visible
    EXPECT_EQ(in.u32(), 0u);  // next visible
    EXPECT_EQ(in.u32(), 1u);  // text box visible
    EXPECT_EQ(in.u32(), 1u);  // cursor visible
    EXPECT_EQ(in.point(), (Point{3, 4}));
    EXPECT_EQ(in.point(), (Point{5, 6}));
    EXPECT_EQ(in.clipboardString(), "uno");
    EXPECT_EQ(in.u32(), 1u);
    EXPECT_EQ(in.point(), (Point{9, 10}));
    EXPECT_EQ(in.i32(), 2);  // absolute
    EXPECT_EQ(in.u32(), 0u);
    EXPECT_EQ(in.point(), (Point{11, 12}));
    EXPECT_EQ(in.i32(), 0);
    EXPECT_TRUE(in.atEnd());
}

TEST(FrameFormat, RoundTripKeepsNonSquareCursorElementsAndUnsavedEdits) {
    CQuibDoc doc;
    makeSource(doc);
    const ClipboardFrames decoded = decodeClipboardFrames(CopyFramesToClipboardFile(doc, {2, 1}));
    EXPECT_EQ(decoded.sourceFrameSize, (Size{4, 3}));
    ASSERT_EQ(decoded.frames.size(), 2u);
    const Frame& f = decoded.frames[1].frame;
    EXPECT_EQ(f.cursorWidth, 5);
    EXPECT_EQ(f.cursorHeight, 3);
    EXPECT_EQ(f.cursorPixels, oddCursor(5, 3).pixels);
    EXPECT_EQ(f.textBox, doc.frames[1].textBox);
    EXPECT_EQ(f.title, "uno");
    EXPECT_EQ(f.gotoButtons[0].targetOffset, 2);
    EXPECT_EQ(f.gotoButtons[1].targetOffset, 0);
    EXPECT_EQ(decoded.frames[0].frame.title, "F2");
    // The current frame travels with its unsaved edits.
    doc.SelectFrame(2, false);
    doc.currentFrame.title = "live";
    doc.currentImage = solidImage(doc.frameSize, 1, 2, 3);
    doc.imageChanged = doc.elementsChanged = true;
    const ClipboardFrames live = decodeClipboardFrames(CopyFramesToClipboardFile(doc, {2}));
    ASSERT_EQ(live.frames.size(), 1u);
    EXPECT_EQ(live.frames[0].frame.title, "live");
    std::vector<uint8_t> pixels(4 * 3 * 3);
    const auto& stream = live.frames[0].frame.imageData;
    ASSERT_TRUE(zlibUncompress(stream.data(), stream.size(), pixels.data(), pixels.size()));
    EXPECT_EQ(pixels, solidImage(doc.frameSize, 1, 2, 3).pixels);
}

// Malformed payloads change nothing; extreme values are pasted without overflow or huge allocations.
TEST(FrameFormat, MalformedPayloadChangesNothingAndExtremeValuesAreClamped) {
    CQuibDoc source;
    makeSource(source);
    const auto full = CopyFramesToClipboardFile(source, {1});
    CQuibDoc target;
    makeProject(target, 2);
    for (size_t n = 0; n < full.size(); ++n) {
        const Status status =
            PasteFramesFromFile(target, std::vector<uint8_t>(full.begin(), full.begin() + long(n)), -1);
        EXPECT_FALSE(status.ok()) << n;
        EXPECT_EQ(target.frameCount(), 2);
    }
    auto huge = full;
    huge[0] = 0xFF, huge[1] = 0xFF, huge[2] = 0xFF, huge[3] = 0x7F;
    EXPECT_FALSE(PasteFramesFromFile(target, huge, -1).ok());
    EXPECT_EQ(target.frameCount(), 2);
    auto putI32 = [](std::vector<uint8_t> b, size_t at, int32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
        return b;
    };
    // A source picture far wider than its few bytes could describe is refused before allocating.
    const Status status = PasteFramesFromFile(target, putI32(full, 4, INT32_MAX), -1);
    EXPECT_EQ(status.message(), "Formato del file inaspettato.");
    EXPECT_EQ(target.frameCount(), 2);
    // Absolute go-to targets at the ends of the range come back clamped, relative to frame 1.
    for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
        CQuibDoc pasted;
        makeProject(pasted, 2);
        pasted.SelectFrame(1);
        const auto bytes = putI32(putI32(full, full.size() - 4, extreme), full.size() - 20, extreme);
        ASSERT_TRUE(PasteFramesFromFile(pasted, bytes, -1));
        EXPECT_EQ(pasted.frames[2].gotoButtons[0].targetOffset,
                  clampCoordinate(int64_t(clampCoordinate(extreme)) - 1));
        EXPECT_EQ(pasted.frames[2].gotoButtons[1].targetOffset,
                  clampCoordinate(int64_t(clampCoordinate(extreme)) - 1));
    }
}

// ---- "Quib SelItems Format" ----

TEST(SelItemsFormat, WritesBlocksInTheFixedOrder) {
    CQuibDoc doc;
    makeSource(doc);
    doc.SelectFrame(1, false);
    const auto bytes =
        CopySelItemsToClipboardFile(doc, selitem::Title | selitem::PrevButton | selitem::Goto1);
    ByteReader in(bytes);
    EXPECT_EQ(in.u32(), 0x4Au);
    EXPECT_EQ(in.u32(), 1u);  // Previous visible
    EXPECT_EQ(in.point(), (Point{3, 4}));
    EXPECT_EQ(in.u32(), 1u);  // Goto 1 visible
    EXPECT_EQ(in.point(), (Point{9, 10}));
    EXPECT_EQ(in.u32(), 2u);  // absolute target
    EXPECT_EQ(in.clipboardString(), "uno");
    EXPECT_TRUE(in.atEnd());
}

TEST(SelItemsFormat, RoundTripIntoAnotherFrameWithNonSquareCursorAndACutPayloadChangesNothing) {
    CQuibDoc doc;
    makeSource(doc);
    doc.SelectFrame(1, false);
    const uint32_t all = selitem::Cursor | selitem::TextBox | selitem::PrevButton | selitem::NextButton |
                         selitem::Goto1 | selitem::Goto2 | selitem::Title;
    const auto bytes = CopySelItemsToClipboardFile(doc, all);
    doc.SelectFrame(2, false);
    RecordingObserver observer;
    doc.addObserver(&observer);
    EXPECT_EQ(PasteSelItemsFromFile(doc, bytes), all);
    const Frame& f = doc.currentFrame;
    EXPECT_EQ(f.cursorWidth, 5);
    EXPECT_EQ(f.cursorHeight, 3);
    EXPECT_EQ(f.cursorPixels, oddCursor(5, 3).pixels);
    EXPECT_EQ(f.cursorPos, (Point{7, 8}));
    EXPECT_EQ(f.textBox, doc.frames[1].textBox);
    EXPECT_EQ(f.title, "uno");
    EXPECT_EQ(2 + f.gotoButtons[0].targetOffset, 2);
    EXPECT_EQ(2 + f.gotoButtons[1].targetOffset, 0);
    EXPECT_EQ(doc.frames[2].elements(), f.elements());
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(observer.hints.empty());
    // A payload cut short changes nothing.
    doc.SelectFrame(1, false);
    auto cut = CopySelItemsToClipboardFile(doc, selitem::Cursor | selitem::Title);
    doc.SelectFrame(0, false);
    cut.resize(cut.size() - 2);
    EXPECT_EQ(PasteSelItemsFromFile(doc, cut), 0u);
    EXPECT_EQ(doc.currentFrame.title, "F0");
    EXPECT_FALSE(doc.elementsChanged);
}

}  // namespace
}  // namespace quib

#include <gtest/gtest.h>

#include "model/frame_clipboard.h"
#include "model_test_util.h"

namespace quib {
namespace {

using namespace test;

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

TEST(FrameFormat, EncodesTheLayoutFieldByFieldAndRoundTripKeepsNonSquareCursorElementsAndUnsavedEdits) {
    CQuibDoc doc;
    makeSource(doc);
    const auto& stream = doc.frames[1].imageData;
    RawBytes expected;
    expected.u32(1).pair(4, 3).u32(uint32_t(stream.size())).raw(stream.toVector());
    expected.pair(7, 8).pair(5, 3).raw(oddCursor(5, 3).pixels).zeroEnded("testo").pair(1, 2).pair(30, 40);
    expected.zeroEnded("Nuvola").font(8, "MS Sans Serif", 0x0000FF, 2, 400, 0).u32(900);
    // Previous, Next, text box and cursor shown; Previous and Next positions; the title.
    expected.u32(1).u32(0).u32(1).u32(1).pair(3, 4).pair(5, 6).zeroEnded("uno");
    // Go-to buttons with absolute targets.
    expected.u32(1).pair(9, 10).u32(2).u32(0).pair(11, 12).u32(0);
    EXPECT_EQ(CopyFramesToClipboardFile(doc, {1}), expected.b);
    const ClipboardFrames decoded = decodeClipboardFrames(CopyFramesToClipboardFile(doc, {2, 1}));
    EXPECT_EQ(decoded.sourceFrameSize, (Size{4, 3}));
    ASSERT_EQ(decoded.frames.size(), 2u);
    const Frame& f = decoded.frames[1].frame;
    EXPECT_EQ(f.cursorImage(), oddCursor(5, 3));
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
    EXPECT_EQ(storedFramePicture(live.frames[0].frame, doc.frameSize), solidImage(doc.frameSize, 1, 2, 3));
}

// Malformed payloads change nothing; extreme values are pasted without overflow or huge allocations.
TEST(FrameFormat, MalformedPayloadChangesNothingAndExtremeValuesAreClamped) {
    CQuibDoc source;
    makeSource(source);
    const auto full = CopyFramesToClipboardFile(source, {1});
    CQuibDoc target;
    makeProject(target, 2);
    for (size_t n = 0; n < full.size(); ++n) {
        const std::vector<uint8_t> cut(full.begin(), full.begin() + long(n));
        EXPECT_FALSE(PasteFramesFromFile(target, cut, -1).ok()) << n;
        EXPECT_EQ(target.frameCount(), 2);
    }
    // A frame count, or a source picture far wider, than the few bytes could describe is refused
    // before allocating.
    for (size_t at : {size_t(0), size_t(4)}) {
        auto bytes = full;
        putU32(bytes, at, INT32_MAX);
        EXPECT_EQ(PasteFramesFromFile(target, bytes, -1).message(), "Formato del file inaspettato.") << at;
        EXPECT_EQ(target.frameCount(), 2);
    }
    // Absolute go-to targets at the ends of the range come back clamped, relative to frame 1.
    for (int32_t extreme : {INT32_MIN, INT32_MAX}) {
        CQuibDoc pasted;
        makeProject(pasted, 2);
        pasted.SelectFrame(1);
        auto bytes = full;
        putU32(bytes, full.size() - 4, uint32_t(extreme));
        putU32(bytes, full.size() - 20, uint32_t(extreme));
        ASSERT_TRUE(PasteFramesFromFile(pasted, bytes, -1));
        EXPECT_EQ(pasted.frames[2].gotoButtons[0].targetOffset,
                  clampCoordinate(int64_t(clampCoordinate(extreme)) - 1));
        EXPECT_EQ(pasted.frames[2].gotoButtons[1].targetOffset,
                  clampCoordinate(int64_t(clampCoordinate(extreme)) - 1));
    }
}

TEST(SelItemsFormat, WritesBlocksInTheFixedOrderAndRoundTripIntoAnotherFrameAndACutPayloadChangesNothing) {
    CQuibDoc doc;
    makeSource(doc);
    doc.SelectFrame(1, false);
    RawBytes expected;
    // The mask, Previous shown and its position, Goto 1 shown, its position and absolute target.
    expected.u32(0x4A).u32(1).pair(3, 4).u32(1).pair(9, 10).u32(2).zeroEnded("uno");
    EXPECT_EQ(CopySelItemsToClipboardFile(doc, selitem::Title | selitem::PrevButton | selitem::Goto1),
              expected.b);
    const uint32_t all = selitem::Cursor | selitem::TextBox | selitem::PrevButton | selitem::NextButton |
                         selitem::Goto1 | selitem::Goto2 | selitem::Title;
    const auto bytes = CopySelItemsToClipboardFile(doc, all);
    doc.SelectFrame(2, false);
    EXPECT_EQ(PasteSelItemsFromFile(doc, bytes), all);
    const Frame& f = doc.currentFrame;
    EXPECT_EQ(f.cursorImage(), oddCursor(5, 3));
    EXPECT_EQ(f.cursorPos, (Point{7, 8}));
    EXPECT_EQ(f.textBox, doc.frames[1].textBox);
    EXPECT_EQ(f.title, "uno");
    EXPECT_EQ(2 + f.gotoButtons[0].targetOffset, 2);
    EXPECT_EQ(2 + f.gotoButtons[1].targetOffset, 0);
    EXPECT_EQ(doc.frames[2].elements(), f.elements());
    EXPECT_TRUE(doc.isModified());
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

#include "frame_clipboard.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/byte_stream.h"
#include "base/zlib_util.h"
#include "project_edit.h"
#include "project_file.h"

namespace quib {

namespace {

// The smallest frame entry: every fixed field, empty strings, no cursor.
constexpr size_t kMinClipboardFrameBytes = 4 + 8 + 8 + 4 + 16 + 4 + 60 + 8 + 4 + 16 + 16 + 4 + 2 * 16;

void writeCursor(ByteWriter& out, const Frame& frame) {
    const bool has = frame.hasCursorImage();
    out.i32(has ? frame.cursorWidth : 0);
    out.i32(has ? frame.cursorHeight : 0);
    out.bytes(frame.cursorPixels.data(), frame.cursorPixels.size());
}

void readCursor(ByteReader& in, Frame& frame) {
    const int32_t width = in.i32();
    const int32_t height = in.i32();
    auto bytes = pictureBytes(width, height, 4);
    if (!bytes)
        throw FormatError("bad cursor size");
    in.need(*bytes);
    frame.cursorWidth = width;
    frame.cursorHeight = height;
    frame.cursorPixels = in.byteVector(*bytes);
    if (frame.cursorPixels.empty())
        frame.cursorWidth = frame.cursorHeight = 0;
}

void writeGoto(ByteWriter& out, const NavButton& b, int ownIndex) {
    out.u32(b.visible);
    out.point(b.pos);
    out.i32(saturate32(int64_t(ownIndex) + b.targetOffset));
}

Frame workingFrame(const CQuibDoc& doc, int index) {
    Frame frame;
    doc.GetFrame(index, frame);
    const Bitmap32 cursor = doc.frameCursorImage(index);
    frame.cursorPixels = cursor.pixels;
    if (cursor.isNull())
        frame.cursorWidth = frame.cursorHeight = 0;
    return frame;
}

std::vector<uint8_t> currentStream(const CQuibDoc& doc, int index) {
    // The array's stream of the current frame is stale while its picture has unsaved edits.
    if (index == doc.currentFrameIndex && doc.imageChanged) {
        auto stream = compressPicture(doc.currentImage.pixels, doc.frameSize, 1);
        if (stream)
            return *stream;
    }
    return doc.frames[size_t(index)].imageData.toVector();
}

}  // namespace

std::vector<uint8_t> CopyFramesToClipboardFile(const CQuibDoc& doc, const std::vector<int>& indices) {
    std::vector<int> valid;
    for (int index : indices)
        if (doc.isValidIndex(index))
            valid.push_back(index);
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.u32(uint32_t(valid.size()));
    out.size(doc.frameSize);
    for (int index : valid) {
        const Frame frame = workingFrame(doc, index);
        const std::vector<uint8_t> stream = currentStream(doc, index);
        out.u32(uint32_t(stream.size()));
        out.bytes(stream.data(), stream.size());
        out.point(frame.cursorPos);
        writeCursor(out, frame);
        out.clipboardString(frame.textBox.text);
        out.rect(frame.textBox.rect);
        out.clipboardString(frame.textBox.calloutName);
        out.logFont(frame.textBox.font.logFont);
        out.u32(frame.textBox.font.color);
        out.u32(frame.textBox.font.align);
        out.u32(frame.displayTime);
        out.u32(frame.prevButton.visible);
        out.u32(frame.nextButton.visible);
        out.u32(frame.textBox.visible);
        out.u32(frame.cursorVisible);
        out.point(frame.prevButton.pos);
        out.point(frame.nextButton.pos);
        out.clipboardString(frame.title);
        writeGoto(out, frame.gotoButtons[0], index);
        writeGoto(out, frame.gotoButtons[1], index);
    }
    return bytes;
}

ClipboardFrames decodeClipboardFrames(const std::vector<uint8_t>& bytes) {
    ByteReader in(bytes);
    ClipboardFrames result;
    const uint32_t count = in.u32();
    result.sourceFrameSize = in.size();
    auto pictureSize = pictureBytes(result.sourceFrameSize.cx, result.sourceFrameSize.cy, 3);
    if (!pictureSize || *pictureSize > ProjectFile::kMaxPictureBytes)
        throw FormatError("bad frame size");
    if (count > in.remaining() / kMinClipboardFrameBytes)
        throw FormatError("frame count too large");
    // The source picture is allocated once for every frame: the data must be able to fill it.
    if (count > 0 && *pictureSize > maxInflatedBytes(bytes.size()))
        throw FormatError("frame size larger than the data can describe");
    const size_t bound = pictureStreamBound(result.sourceFrameSize.cx, result.sourceFrameSize.cy);
    for (uint32_t k = 0; k < count; ++k) {
        ClipboardFrame entry;
        Frame& f = entry.frame;
        const uint32_t length = in.u32();
        if (length > bound)
            throw FormatError("image stream longer than its bound");
        if (length != 0 && *pictureSize > maxInflatedBytes(length))
            throw FormatError("image stream cannot fill its frame");
        f.imageData = in.byteVector(length);
        f.cursorPos = in.point();
        readCursor(in, f);
        f.textBox.text = in.clipboardString();
        f.textBox.rect = in.rect();
        f.textBox.calloutName = in.clipboardString();
        f.textBox.font.logFont = in.logFont();
        f.textBox.font.color = in.u32();
        f.textBox.font.align = in.u32();
        f.displayTime = in.u32();
        f.prevButton.visible = in.u32();
        f.nextButton.visible = in.u32();
        f.textBox.visible = in.u32();
        f.cursorVisible = in.u32();
        f.prevButton.pos = in.point();
        f.nextButton.pos = in.point();
        f.title = in.clipboardString();
        for (NavButton& b : f.gotoButtons) {
            b.visible = in.u32();
            b.pos = in.point();
            b.targetOffset = in.coordinate();  // absolute until pasted
        }
        result.frames.push_back(std::move(entry));
    }
    return result;
}

static Status PasteFramesFromFileNow(CQuibDoc& doc, const std::vector<uint8_t>& bytes, int position) {
    ClipboardFrames payload;
    try {
        payload = decodeClipboardFrames(bytes);
    } catch (const FormatError&) {
        return Status::failure(str::UnexpectedFormat);
    } catch (const std::bad_alloc&) {
        return Status::failure(str::UnexpectedFormat);
    }
    // The working copy becomes the template of each pasted frame: its pending edits go to their
    // frame first.
    doc.SelectFrame(doc.currentFrameIndex, true);
    const Size source = payload.sourceFrameSize;
    Bitmap24 sourceImage;
    if (!source.isEmpty())
        sourceImage = Bitmap24(source.cx, source.cy);

    const int first = position == -1 ? doc.frameCount() : position;
    int inserted = 0;
    Status status;
    for (const ClipboardFrame& entry : payload.frames) {
        std::fill(sourceImage.pixels.begin(), sourceImage.pixels.end(), 0);
        if (!sourceImage.isNull() && !entry.frame.imageData.empty())
            (void)zlibUncompress(entry.frame.imageData.data(), entry.frame.imageData.size(),
                                 sourceImage.pixels.data(), sourceImage.pixels.size());
        if (doc.frameSize.cx == 0 || doc.frameSize.cy == 0) {
            doc.frameOrigin = Point{0, 0};
            doc.SetEmptyProjectFrameSize(source.cx, source.cy);
        }
        if (doc.currentImage.width != doc.frameSize.cx || doc.currentImage.height != doc.frameSize.cy)
            doc.currentImage = Bitmap24(doc.frameSize.cx, doc.frameSize.cy);
        std::fill(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(), 0);
        const int w = std::min(source.cx, doc.frameSize.cx);
        const int h = std::min(source.cy, doc.frameSize.cy);
        for (int y = 0; y < h && w > 0; ++y)
            std::memcpy(doc.currentImage.pixel(0, y), sourceImage.pixel(0, y), size_t(w) * 3);

        Frame& working = doc.currentFrame;
        working.assignElements(entry.frame);
        working.cursorPixels = entry.frame.cursorPixels;
        for (NavButton& b : working.gotoButtons)
            b.targetOffset = clampCoordinate(int64_t(b.targetOffset) - std::max(doc.currentFrameIndex, 0));

        const int at = position == -1 ? doc.frameCount() : position + inserted;
        if (!doc.InsertFrames(at, true, 1)) {
            status = Status::failure(str::InsertFramesFailed);
            break;
        }
        ++inserted;
    }
    if (inserted > 0) {
        doc.UpdateAllViews(hint::FramesInserted, hint::insertedRange(first, inserted));
        doc.SetModifiedFlag(true);
    }
    return status;
}

std::vector<uint8_t> CopySelItemsToClipboardFile(const CQuibDoc& doc, uint32_t mask) {
    mask &= ~selitem::FrameImage;
    const Frame& f = doc.currentFrame;
    const int own = doc.currentFrameIndex;
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.u32(mask);
    if (mask & selitem::Cursor) {
        out.point(f.cursorPos);
        writeCursor(out, f);
        out.u32(f.cursorVisible);
    }
    if (mask & selitem::TextBox) {
        out.clipboardString(f.textBox.text);
        out.rect(f.textBox.rect);
        out.clipboardString(f.textBox.calloutName);
        out.logFont(f.textBox.font.logFont);
        out.u32(f.textBox.font.color);
        out.u32(f.textBox.visible);
        out.u32(f.textBox.font.align);
    }
    if (mask & selitem::PrevButton) {
        out.u32(f.prevButton.visible);
        out.point(f.prevButton.pos);
    }
    if (mask & selitem::NextButton) {
        out.u32(f.nextButton.visible);
        out.point(f.nextButton.pos);
    }
    for (int g = 0; g < 2; ++g) {
        if (!(mask & (g == 0 ? selitem::Goto1 : selitem::Goto2)))
            continue;
        out.u32(f.gotoButtons[g].visible);
        out.point(f.gotoButtons[g].pos);
        out.u32(uint32_t(saturate32(int64_t(own) + f.gotoButtons[g].targetOffset)));
    }
    if (mask & selitem::Title)
        out.clipboardString(f.title);
    return bytes;
}

static uint32_t PasteSelItemsFromFileNow(CQuibDoc& doc, const std::vector<uint8_t>& bytes) {
    Frame f = doc.currentFrame;
    uint32_t mask = 0;
    try {
        ByteReader in(bytes);
        mask = in.u32() & ~selitem::FrameImage;
        if (mask & selitem::Cursor) {
            f.cursorPos = in.point();
            readCursor(in, f);
            f.cursorVisible = in.u32();
        }
        if (mask & selitem::TextBox) {
            f.textBox.text = in.clipboardString();
            f.textBox.rect = in.rect();
            f.textBox.calloutName = in.clipboardString();
            f.textBox.font.logFont = in.logFont();
            f.textBox.font.color = in.u32();
            f.textBox.visible = in.u32();
            f.textBox.font.align = in.u32();
        }
        if (mask & selitem::PrevButton) {
            f.prevButton.visible = in.u32();
            f.prevButton.pos = in.point();
        }
        if (mask & selitem::NextButton) {
            f.nextButton.visible = in.u32();
            f.nextButton.pos = in.point();
        }
        for (int g = 0; g < 2; ++g) {
            if (!(mask & (g == 0 ? selitem::Goto1 : selitem::Goto2)))
                continue;
            f.gotoButtons[g].visible = in.u32();
            f.gotoButtons[g].pos = in.point();
            f.gotoButtons[g].targetOffset = clampCoordinate(int64_t(in.coordinate()) - doc.currentFrameIndex);
        }
        if (mask & selitem::Title)
            f.title = in.clipboardString();
    } catch (const FormatError&) {
        return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (mask == 0)
        return 0;
    doc.currentFrame = std::move(f);
    doc.elementsChanged = true;
    doc.SetModifiedFlag(true);
    if (mask & selitem::Cursor) {
        doc.UpdateAllViews(hint::CursorPicture);
        doc.UpdateAllViews(hint::Cursor);
    }
    if (mask & selitem::TextBox) {
        doc.UpdateAllViews(hint::TextBoxVisibility);
        doc.UpdateAllViews(hint::TextBoxRect);
    }
    if (mask & (selitem::PrevButton | selitem::NextButton | selitem::Goto1 | selitem::Goto2))
        doc.UpdateAllViews(hint::Buttons);
    if (mask & selitem::Title)
        doc.UpdateAllViews(hint::TitleOrImagePosition);
    return mask;
}

Status PasteFramesFromFile(CQuibDoc& doc, const std::vector<uint8_t>& bytes, int position) {
    return editProject(doc, "Incolla frame", [&] { return PasteFramesFromFileNow(doc, bytes, position); });
}

uint32_t PasteSelItemsFromFile(CQuibDoc& doc, const std::vector<uint8_t>& bytes) {
    uint32_t result = 0;
    editProject(doc, "Incolla elementi", [&] {
        result = PasteSelItemsFromFileNow(doc, bytes);
        return result != 0;
    });
    return result;
}

}  // namespace quib

#include "template_file.h"

#include <fstream>
#include <iterator>

#include "base/atomic_file.h"
#include "base/byte_stream.h"
#include "base/strings.h"
#include "frame.h"
#include "project_storage.h"
#include "quib_doc.h"

namespace quib {

namespace templ {
const char* elementText(int index) {
    static const char* const texts[ElementCount] = {
        "Background Image",        "Frame Position",       "Title Enable",
        "Title Font & Style",      "Title Position",       "Callout",
        "Textbox Font & Style",    "Next Button Position", "Previous Button Position",
        "Goto Button Positions",   "Next Button Image",    "Previous Button Image",
        "Goto Button Images",      "Frame Rate Setting",   "Use Palette Setting",
        "Cursor Movement Setting",
    };
    return index >= 0 && index < ElementCount ? texts[index] : "";
}
}  // namespace templ

namespace {

void writePicture(ByteWriter& out, const std::vector<uint8_t>& pixels) {
    out.bytes(pixels.data(), pixels.size());
}

// A picture block of the given size, checked against the bytes that remain before allocating.
template <class Bitmap>
Bitmap readPicture(ByteReader& in, Size size) {
    const std::optional<size_t> bytes = pictureBytes(size.cx, size.cy, Bitmap::kBytesPerPixel);
    if (!bytes)
        throw FormatError("bad picture size");
    in.need(*bytes);
    Bitmap picture;
    picture.width = size.cx;
    picture.height = size.cy;
    picture.pixels = in.byteVector(*bytes);
    return picture;
}

Size sizeOf(const Bitmap32& picture) {
    return picture.isNull() ? Size{} : Size{picture.width, picture.height};
}

bool bothSet(Size size) {
    return size.cx != 0 && size.cy != 0;
}

}  // namespace

void TemplateSet::TakeFrom(const CQuibDoc& doc, uint32_t elements) {
    *this = TemplateSet();
    mask = elements;
    const FrameElements& frame = doc.currentFrame;
    const ButtonImageSet& buttons = doc.buttonImages;

    if ((mask & templ::BackgroundImage) && !doc.backgroundImage.isNull()) {
        backgroundSize = {doc.backgroundImage.width, doc.backgroundImage.height};
        frameSize = doc.frameSize;
        background = doc.backgroundImage;
    } else {
        mask &= ~templ::BackgroundImage;
    }
    frameOrigin = doc.frameOrigin;
    titlesEnabled = doc.titles.enabled;
    titleFont = doc.titles.font;
    titleRect = doc.titles.rect;
    textFont = frame.textBox.font;
    calloutName = frame.textBox.calloutName;
    nextPos = frame.nextButton.pos;
    prevPos = frame.prevButton.pos;
    prevPictureSize = sizeOf(buttons.images[ButtonImageSet::Previous]);
    nextPictureSize = sizeOf(buttons.images[ButtonImageSet::Next]);
    if ((mask & templ::PrevButtonImage) && !buttons.images[ButtonImageSet::Previous].isNull())
        prevPicture = buttons.images[ButtonImageSet::Previous];
    else
        mask &= ~templ::PrevButtonImage;
    if ((mask & templ::NextButtonImage) && !buttons.images[ButtonImageSet::Next].isNull())
        nextPicture = buttons.images[ButtonImageSet::Next];
    else
        mask &= ~templ::NextButtonImage;
    const Bitmap32& goto1 = buttons.images[ButtonImageSet::Goto1];
    const Bitmap32& goto2 = buttons.images[ButtonImageSet::Goto2];
    for (int i = 0; i < 2; ++i)
        gotoPos[i] = frame.gotoButtons[i].pos;
    if ((mask & templ::GotoButtonImages) && (!goto1.isNull() || !goto2.isNull())) {
        gotoPicture[0] = goto1;
        gotoPicture[1] = goto2;
        gotoPictureSize[0] = sizeOf(goto1);
        gotoPictureSize[1] = sizeOf(goto2);
    } else {
        mask &= ~templ::GotoButtonImages;
    }
    frameRate = doc.settings.frameRate;
    cursorSmoothness = doc.settings.cursorSmoothness;
    usePalette = doc.settings.usePalette;
}

std::vector<uint8_t> TemplateSet::toBytes() const {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    out.u32(kMagic);
    const bool withBackground = (mask & templ::BackgroundImage) && !background.isNull();
    // A background element without its picture could not be read back.
    out.u32(withBackground ? mask : mask & ~templ::BackgroundImage);
    out.size(withBackground ? Size{background.width, background.height} : Size{});
    out.size(withBackground ? frameSize : Size{});
    if (withBackground)
        writePicture(out, background.pixels);
    out.point(frameOrigin);
    out.u32(titlesEnabled);
    out.textFont(titleFont);
    out.rect(titleRect);
    out.textFont(textFont);
    out.archiveString(calloutName);
    out.point(nextPos);
    out.point(prevPos);
    // The sizes must describe the blocks that follow, so a picture present wins over a stale size.
    const bool withPrev = (mask & templ::PrevButtonImage) != 0;
    const bool withNext = (mask & templ::NextButtonImage) != 0;
    out.size(withPrev ? sizeOf(prevPicture) : prevPictureSize);
    out.size(withNext ? sizeOf(nextPicture) : nextPictureSize);
    if (withPrev)
        writePicture(out, prevPicture.pixels);
    if (withNext)
        writePicture(out, nextPicture.pixels);
    const bool withGoto = (mask & templ::GotoButtonImages) != 0;
    for (int i = 0; i < 2; ++i) {
        out.point(gotoPos[i]);
        const Size size = withGoto ? sizeOf(gotoPicture[i]) : Size{};
        out.size(size);
        if (bothSet(size))
            writePicture(out, gotoPicture[i].pixels);
    }
    out.u32(frameRate);
    out.u32(cursorSmoothness);
    out.u32(usePalette);
    return bytes;
}

Status TemplateSet::fromBytes(const std::vector<uint8_t>& bytes, TemplateSet& out) {
    TemplateSet set;
    try {
        ByteReader in(bytes);
        if (in.u32() != kMagic)
            return Status::failure(str::UnexpectedFormat);
        set.mask = in.u32();
        set.backgroundSize = in.size();
        set.frameSize = in.size();
        if (set.mask & templ::BackgroundImage) {
            // A background element without a picture would leave the project without a canvas.
            if (set.backgroundSize.isEmpty() || set.frameSize.cx < 0 || set.frameSize.cy < 0)
                throw FormatError("empty background");
            set.background = readPicture<Bitmap24>(in, set.backgroundSize);
        }
        set.frameOrigin = in.point();
        set.titlesEnabled = in.u32();
        set.titleFont = in.textFont();
        set.titleRect = in.rect();
        set.textFont = in.textFont();
        set.calloutName = in.archiveString();
        set.nextPos = in.point();
        set.prevPos = in.point();
        set.prevPictureSize = in.size();
        set.nextPictureSize = in.size();
        if (set.mask & templ::PrevButtonImage)
            set.prevPicture = readPicture<Bitmap32>(in, set.prevPictureSize);
        if (set.mask & templ::NextButtonImage)
            set.nextPicture = readPicture<Bitmap32>(in, set.nextPictureSize);
        for (int i = 0; i < 2; ++i) {
            set.gotoPos[i] = in.point();
            set.gotoPictureSize[i] = in.size();
            if (bothSet(set.gotoPictureSize[i]))
                set.gotoPicture[i] = readPicture<Bitmap32>(in, set.gotoPictureSize[i]);
        }
        set.frameRate = in.u32();
        set.cursorSmoothness = in.u32();
        set.usePalette = in.u32();
    } catch (const FormatError&) {
        return Status::failure(str::UnexpectedFormat);
    }
    out = std::move(set);
    return Status::success();
}

Status TemplateSet::Save(const std::string& path) const {
    if (!writeFileAtomically(path, toBytes()))
        return Status::failure(str::CannotCreateFile);
    return Status::success();
}

Status TemplateSet::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (Status read = ReadDocumentFile(path, bytes); !read)
        return read;
    return fromBytes(bytes, *this);
}

}  // namespace quib

#include "quib_doc.h"

#include <algorithm>
#include <cstring>

#include "base/strings.h"
#include "base/zlib_util.h"
#include "cursors/standard_cursors.h"
#include "default_buttons.h"

namespace quib {

namespace {

constexpr uint8_t kKeyBlue = 0xC7;
constexpr uint8_t kKeyGreen = 0xC6;
constexpr uint8_t kKeyRed = 0xC5;

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void CQuibDoc::reallocateCurrentImage() {
    if (frameSize.cx > 0 && frameSize.cy > 0)
        currentImage = Bitmap24(frameSize.cx, frameSize.cy);
    else
        currentImage.clear();
}

bool CQuibDoc::SelectFrame(int index, bool force) {
    if (index == currentFrameIndex && !force)
        return true;
    if (imageChanged)
        CommitFrameImage(-1);
    if (elementsChanged)
        CommitFrameElements(-1);
    imageChanged = elementsChanged = false;
    if (!isValidIndex(index))
        return false;

    const Frame& source = frames[size_t(index)];
    currentFrame = Frame();
    currentFrame.assignElements(source);
    currentFrame.cursorPixels = source.cursorPixels;

    const size_t bytes = size_t(std::max(frameSize.cx, 0)) * size_t(std::max(frameSize.cy, 0)) * 3;
    if (currentImage.pixels.size() != bytes || currentImage.width != frameSize.cx)
        reallocateCurrentImage();
    if (bytes != 0 && !source.imageData.empty()) {
        // A damaged stream leaves whatever it produced; nothing is reported.
        (void)zlibUncompress(source.imageData.data(), source.imageData.size(), currentImage.pixels.data(),
                             currentImage.pixels.size());
    }

    currentFrameIndex = index;
    if (index == 0)
        currentFrame.prevButton.visible = 0;
    if (index == frameCount() - 1)
        currentFrame.nextButton.visible = 0;
    return true;
}

bool CQuibDoc::CommitFrameImage(int index) {
    if (index == -1)
        index = currentFrameIndex;
    if (!isValidIndex(index))
        return false;
    // A picture of another size would break the rule that every stream holds a frameSize picture.
    if (currentImage.pixels.size() !=
        size_t(std::max(frameSize.cx, 0)) * size_t(std::max(frameSize.cy, 0)) * 3)
        return false;
    auto stream = compressPicture(currentImage.pixels, frameSize, 1);
    if (!stream)
        return false;
    frames[size_t(index)].imageData = std::move(*stream);
    return true;
}

bool CQuibDoc::CommitFrameElements(int index) {
    if (index == -1)
        index = currentFrameIndex;
    if (!isValidIndex(index))
        return false;
    Frame& target = frames[size_t(index)];
    target.assignElements(currentFrame);
    target.cursorPixels = currentFrame.cursorPixels;
    return true;
}

bool CQuibDoc::CopyFrameImage(int destination, int source) {
    if (!isValidIndex(destination) || !isValidIndex(source))
        return false;
    if (destination != source)
        frames[size_t(destination)].imageData = frames[size_t(source)].imageData;
    return true;
}

void CQuibDoc::GetFrame(int index, FrameElements& out) const {
    if (index == currentFrameIndex && isValidIndex(index))
        out = currentFrame.elements();
    else if (isValidIndex(index))
        out = frames[size_t(index)].elements();
    else
        out = FrameElements();
}

Bitmap32 CQuibDoc::frameCursorImage(int index) const {
    if (index == currentFrameIndex && isValidIndex(index))
        return currentFrame.cursorImage();
    if (isValidIndex(index))
        return frames[size_t(index)].cursorImage();
    return Bitmap32();
}

Frame CQuibDoc::readFrame(int index) const {
    Frame frame;
    if (!isValidIndex(index))
        return frame;
    const Frame& source = index == currentFrameIndex ? currentFrame : frames[size_t(index)];
    frame.assignElements(source);
    frame.cursorPixels = source.cursorPixels;
    if (index == 0)
        frame.prevButton.visible = 0;
    if (index == frameCount() - 1)
        frame.nextButton.visible = 0;
    return frame;
}

Status CQuibDoc::decodeFrame(int index, Bitmap24& into) const {
    if (!isValidIndex(index) || frameSize.isEmpty())
        return Status::failure(str::UnexpectedFormat);
    if (into.width != frameSize.cx || into.height != frameSize.cy)
        into = Bitmap24(frameSize.cx, frameSize.cy);
    if (index == currentFrameIndex && currentImage.width == frameSize.cx &&
        currentImage.height == frameSize.cy) {
        std::copy(currentImage.pixels.begin(), currentImage.pixels.end(), into.pixels.begin());
        return Status::success();
    }
    const SharedBytes& stream = frames[size_t(index)].imageData;
    if (stream.empty()) {
        std::fill(into.pixels.begin(), into.pixels.end(), uint8_t(0));
        return Status::success();
    }
    const auto produced =
        zlibUncompress(stream.data(), stream.size(), into.pixels.data(), into.pixels.size());
    if (!produced || *produced != into.pixels.size())
        return Status::failure(str::UnexpectedFormat);
    return Status::success();
}

void CQuibDoc::SetFrame(int index, const Frame& in, bool withCursorImage) {
    if (!isValidIndex(index))
        return;
    const bool current = index == currentFrameIndex;
    Frame& target = current ? currentFrame : frames[size_t(index)];
    target.assignElements(in);
    if (withCursorImage)
        target.cursorPixels = in.cursorPixels;
    if (current) {
        elementsChanged = true;
        SetModifiedFlag(true);
    }
}

void CQuibDoc::shiftGotoTargets(int q, int delta) {
    // Inserting at q (delta +1, before the insertion) or undoing it (delta -1, after the removal):
    // links that cross q keep pointing at the same frame; a link that leads exactly to q is left
    // alone, so after an insertion it leads to the inserted frame.
    for (int j = 0; j < frameCount(); ++j) {
        for (NavButton& button : frames[size_t(j)].gotoButtons) {
            const int64_t target = int64_t(j) + button.targetOffset;
            if (j < q && target > q)
                button.targetOffset = saturate32(int64_t(button.targetOffset) + delta);
            else if (j >= q && target < q)
                button.targetOffset = saturate32(int64_t(button.targetOffset) - delta);
        }
    }
}

bool CQuibDoc::InsertFrames(int position, bool before, int count) {
    if (count < 0)
        return false;
    if (!currentFrame.hasCursorImage()) {
        SetCursorImageFromHandle(currentFrame, standardArrowCursor());
        currentFrame.cursorPos = Point{frameOrigin.x + frameSize.cx / 2, frameOrigin.y + frameSize.cy / 2};
    }
    const int q = std::max(before ? position : position + 1, 0);
    if (q > frameCount())
        return false;

    int inserted = 0;
    bool failed = false;
    for (; inserted < count; ++inserted) {
        shiftGotoTargets(q, +1);
        frames.insert(frames.begin() + q, Frame());
        const bool ok =
            CommitFrameElements(q) && (inserted == 0 ? CommitFrameImage(q) : CopyFrameImage(q, q + 1));
        if (!ok) {
            failed = true;
            ++inserted;  // the frame just placed is removed with the others
            break;
        }
    }
    if (failed) {
        for (int k = 0; k < inserted; ++k) {
            frames.erase(frames.begin() + q);
            shiftGotoTargets(q, -1);
        }
        elementsChanged = imageChanged = false;
        SelectFrame(currentFrameIndex, true);
        return false;
    }

    if (position < currentFrameIndex || (position == currentFrameIndex && before))
        currentFrameIndex += count;
    if (!isValidIndex(currentFrameIndex))
        currentFrameIndex = q;
    // The working copy was only the template: the current frame is reloaded from the array.
    elementsChanged = imageChanged = false;
    SelectFrame(currentFrameIndex, true);
    return true;
}

bool CQuibDoc::DeleteFrame(int index) {
    if (!isValidIndex(index))
        return false;
    for (int j = 0; j < frameCount(); ++j) {
        if (j == index)
            continue;
        Frame frame;
        GetFrame(j, frame);
        bool changed = false;
        for (NavButton& button : frame.gotoButtons) {
            const int64_t target = int64_t(j) + button.targetOffset;
            if (j < index && target > index) {
                --button.targetOffset;
                changed = true;
            } else if (j > index && target < index) {
                ++button.targetOffset;
                changed = true;
            }
        }
        if (changed)
            SetFrame(j, frame, false);
    }
    frames.erase(frames.begin() + index);

    if (frames.empty()) {
        currentFrameIndex = -1;
        elementsChanged = imageChanged = false;
        frameSize = Size{};
        currentImage.clear();
        UpdateAllViews(hint::Everything);
        return true;
    }
    if (index == currentFrameIndex) {
        // The working copy belonged to the deleted frame: it must not be committed to its successor.
        elementsChanged = imageChanged = false;
        currentFrameIndex = std::min(currentFrameIndex, frameCount() - 1);
        SelectFrame(currentFrameIndex, true);
    } else if (index < currentFrameIndex) {
        --currentFrameIndex;
    }
    return true;
}

void CQuibDoc::SetEmptyProjectFrameSize(int cx, int cy) {
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if (!backgroundImage.isNull()) {
        Bitmap24 grown(cx, cy);
        const int w = std::min(cx, backgroundImage.width);
        const int h = std::min(cy, backgroundImage.height);
        for (int y = 0; y < h; ++y)
            std::memcpy(grown.pixel(0, y), backgroundImage.pixel(0, y), size_t(w) * 3);
        backgroundImage = std::move(grown);
    }
    backgroundSize = frameSize = Size{cx, cy};
    reallocateCurrentImage();

    currentFrame.textBox.rect = Rect{cx * 3 / 5, cy * 3 / 5, cx * 4 / 5, cy * 4 / 5};
    const Bitmap32& next = buttonImages.images[ButtonImageSet::Next];
    const Bitmap32& prev = buttonImages.images[ButtonImageSet::Previous];
    currentFrame.nextButton.pos = Point{cx - next.width, cy - next.height};
    currentFrame.prevButton.pos = Point{currentFrame.nextButton.pos.x - prev.width, cy - prev.height};
    UpdateAllViews(hint::Everything);
}

bool CQuibDoc::AppendCapturedFrame() {
    commands.forgetClean();
    frames.emplace_back();
    currentFrameIndex = frameCount() - 1;
    const bool ok = CommitFrameImage(-1) && CommitFrameElements(-1);
    if (ok)
        imageChanged = elementsChanged = false;
    return ok;
}

void CQuibDoc::SetCursorImageFromHandle(Frame& frame, const CursorPicture& cursor) {
    frame.clearCursorImage();
    if (cursor.isNull())
        return;
    const Bitmap32& source = cursor.image;
    Bitmap32 picture(source.width, source.height);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const uint8_t* s = source.pixel(x, y);
            uint8_t* d = picture.pixel(x, y);
            // Drawn over the key colour; whatever still shows the key colour is transparent.
            uint8_t b = kKeyBlue, g = kKeyGreen, r = kKeyRed;
            if (s[3] >= 128)
                b = s[0], g = s[1], r = s[2];
            if (b == kKeyBlue && g == kKeyGreen && r == kKeyRed) {
                std::memcpy(d, kTransparentCursorPixel, 4);
            } else {
                d[0] = b, d[1] = g, d[2] = r, d[3] = 255;
            }
        }
    }
    frame.setCursorImage(picture);
}

void CQuibDoc::SetModifiedFlag(bool modified) {
    // Saved or loaded: the history's present step is what the file holds.
    if (!modified)
        commands.setClean();
    if (!m_title.empty()) {
        const bool marked = m_title.back() == '*';
        if (marked && !modified)
            m_title.resize(m_title.size() >= 2 ? m_title.size() - 2 : 0);
        else if (!marked && modified)
            m_title += " *";
    }
    m_modified = modified;
}

void CQuibDoc::DeleteContents() {
    currentImage.clear();
    backgroundImage.clear();
    for (Bitmap32& image : buttonImages.images)
        image.clear();
    elementsChanged = imageChanged = false;
}

void CQuibDoc::InitNewProject() {
    settings.outputType = OutputType::Html5;
    settings.outputFileName.clear();
    buttonImages = defaultButtonImages();
    titles.font = TextStyle::standardTitleFont();
    backgroundSize = frameSize;
    SetModifiedFlag(true);
    commands.forgetClean();
}

std::string CQuibDoc::frameIndicatorText() const {
    return formatString(str::FrameOfFrames, currentFrameIndex + 1, frameCount());
}

std::string CQuibDoc::sizeIndicatorText() const {
    return formatString(str::SizeIndicator, frameSize.cx, frameSize.cy, backgroundSize.cx, backgroundSize.cy);
}

void CQuibDoc::addObserver(DocObserver* observer) {
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CQuibDoc::removeObserver(DocObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void CQuibDoc::UpdateAllViews(int hintValue, uint32_t arg, DocObserver* sender) {
    // A copy, so that an observer may unregister itself while being told.
    const std::vector<DocObserver*> observers = m_observers;
    for (DocObserver* observer : observers)
        if (observer != sender)
            observer->onUpdate(hintValue, arg);
}

void CQuibDoc::setPathName(const std::string& path) {
    m_pathName = path;
    m_title = fileNameOf(path);
    if (m_modified)
        m_title += " *";
}

void CQuibDoc::replaceContents(ProjectData&& data) {
    static_cast<ProjectData&>(*this) = std::move(data);
    commands.clear();
}

}  // namespace quib

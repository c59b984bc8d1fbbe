#include "frame_operations.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame.h"
#include "project_edit.h"
#include "project_file.h"
#include "quib_doc.h"

namespace quib {

namespace {
constexpr const char* kPictureTooLarge = "Le dimensioni indicate sono troppo grandi.";

bool pictureSizeFits(int cx, int cy) {
    if (cx < 1 || cy < 1 || cx > kMaxPictureSide || cy > kMaxPictureSide)
        return false;
    const auto bytes = pictureBytes(cx, cy, 4);
    return bytes && *bytes <= ProjectFile::kMaxPictureBytes;
}

void setEmptyFrameLayout(CQuibDoc& doc) {
    const Size size = doc.frameSize;
    FrameElements& frame = doc.currentFrame;
    frame.textBox.rect = Rect{size.cx * 3 / 5, size.cy * 3 / 5, size.cx * 4 / 5, size.cy * 4 / 5};
    frame.prevButton.visible = frame.nextButton.visible = 0;
    frame.gotoButtons[0].visible = frame.gotoButtons[1].visible = 0;
    frame.textBox.visible = 0;
    std::fill(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(), uint8_t(0));
}

Status applyBackground(CQuibDoc& doc, Bitmap24&& picture) {
    doc.backgroundSize = Size{picture.width, picture.height};
    doc.backgroundImage = std::move(picture);
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Canvas);
    return Status::success();
}

bool coversFrame(const CQuibDoc& doc, int cx, int cy) {
    return cx >= doc.frameSize.cx && cy >= doc.frameSize.cy;
}

std::optional<Bitmap24> readPicture(const PictureReader& read, const std::string& path, Status& status) {
    std::optional<Bitmap24> picture = read ? read(path) : std::nullopt;
    if (!picture || picture->isNull()) {
        status = Status::failure(str::UnknownFileFormat,
                                 std::string(stringText(str::UnknownFileFormat)) + ":\n" + path);
        return std::nullopt;
    }
    return picture;
}
}  // namespace

Bitmap24 fitPictureToFrame(const Bitmap24& picture, Size frameSize) {
    Bitmap24 fitted(std::max(frameSize.cx, 0), std::max(frameSize.cy, 0));
    const int w = std::min(fitted.width, picture.width);
    const int h = std::min(fitted.height, picture.height);
    for (int y = 0; y < h; ++y)
        std::memcpy(fitted.pixel(0, y), picture.pixel(0, y), size_t(std::max(w, 0)) * 3);
    return fitted;
}

static Status insertFramesNow(CQuibDoc& doc, const InsertFramesRequest& request) {
    if (request.count < 1 || request.count > kMaxInsertedFrames)
        return Status::failure(str::NumberOneToNinetyNine);
    const bool empty = doc.frameCount() == 0;
    if (empty) {
        const Size size = request.emptyProjectSize;
        if (!pictureSizeFits(size.cx, size.cy))
            return Status::failureText(kPictureTooLarge);
        doc.SetEmptyProjectFrameSize(size.cx, size.cy);
    }
    const bool copy = request.copyCurrent && !empty;
    const bool after = request.after && !empty;
    // Commits pending edits: the working copy then differs from its frame only by what follows,
    // which the insertion's reload drops again.
    doc.SelectFrame(doc.currentFrameIndex, true);
    if (!copy)
        setEmptyFrameLayout(doc);
    doc.currentFrame.textBox.text.clear();
    const int first = empty ? 0 : doc.currentFrameIndex + (after ? 1 : 0);
    if (!doc.InsertFramesAtCurrent(!after, request.count))
        return Status::failure(str::InsertFramesFailed);
    doc.UpdateAllViews(hint::FramesInserted, hint::insertedRange(first, request.count));
    doc.SetModifiedFlag(true);
    return Status::success();
}

static Status insertPictureFramesNow(CQuibDoc& doc, const PictureReader& read,
                                     const std::vector<std::string>& paths, bool after, Progress& progress) {
    if (paths.empty() || paths.size() > size_t(kMaxInsertedFrames))
        return Status::failure(str::NumberOneToNinetyNine);
    std::vector<Bitmap24> pictures;
    pictures.reserve(paths.size());
    progress.setRange(0, int(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i) {
        progress.setPosition(int(i));
        Status unreadable;
        std::optional<Bitmap24> picture = readPicture(read, paths[i], unreadable);
        if (!picture)
            return unreadable;
        pictures.push_back(std::move(*picture));
    }
    progress.setPosition(int(paths.size()));

    const bool empty = doc.frameCount() == 0;
    if (empty) {
        if (!pictureSizeFits(pictures.front().width, pictures.front().height))
            return Status::failureText(kPictureTooLarge);
        doc.SetEmptyProjectFrameSize(pictures.front().width, pictures.front().height);
    }
    doc.SelectFrame(doc.currentFrameIndex, true);
    const int first = empty ? 0 : doc.currentFrameIndex + (after && !empty ? 1 : 0);
    for (size_t k = 0; k < pictures.size(); ++k) {
        // Each insertion reloads the working copy, so the template is laid out again every time.
        setEmptyFrameLayout(doc);
        doc.currentFrame.textBox.text.clear();
        doc.currentImage = fitPictureToFrame(pictures[k], doc.frameSize);
        if (!doc.InsertFrames(first + int(k), true, 1)) {
            for (size_t undo = 0; undo < k; ++undo)
                doc.DeleteFrame(first);
            return Status::failure(str::InsertFramesFailed);
        }
    }
    doc.UpdateAllViews(hint::FramesInserted, hint::insertedRange(first, int(pictures.size())));
    doc.SetModifiedFlag(true);
    return Status::success();
}

Status ImportImages(CQuibDoc& doc, const PictureReader& read, const std::vector<std::string>& paths) {
    if (doc.frameCount() != 0 || paths.empty())
        return Status::failure(str::InsertFramesFailed);
    // Built apart and taken over only when complete; one picture at a time, so that only the
    // compressed frames stay in memory.
    Status unreadable;
    std::optional<Bitmap24> picture = readPicture(read, paths.front(), unreadable);
    if (!picture)
        return unreadable;
    CQuibDoc project;
    project.InitNewProject();
    project.SetEmptyProjectFrameSize(picture->width, picture->height);
    // The default positions SetEmptyProjectFrameSize gave the working copy, for every frame.
    FrameElements defaults = project.currentFrame;
    defaults.textBox.visible = 0;
    defaults.prevButton.visible = defaults.nextButton.visible = 0;
    defaults.cursorVisible = 0;
    applyTextStyle(defaults, project.settings.textStyle);
    for (size_t k = 0; k < paths.size(); ++k) {
        if (k > 0 && !(picture = readPicture(read, paths[k], unreadable)))
            return unreadable;
        project.currentImage = fitPictureToFrame(*picture, project.frameSize);
        project.currentFrame = Frame();
        project.currentFrame.assignElements(defaults);
        if (!project.AppendCapturedFrame())
            return Status::failure(str::InsertFramesFailed);
    }
    doc.replaceContents(std::move(static_cast<ProjectData&>(project)));
    doc.SelectFrame(0, true);
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Everything);
    return Status::success();
}

static Status cropFramesNow(CQuibDoc& doc, Rect crop, Progress& progress) {
    const int w = crop.right - crop.left;
    const int h = crop.bottom - crop.top;
    if (crop.left < 0 || crop.top < 0 || w < 1 || h < 1 || crop.right > doc.frameSize.cx ||
        crop.bottom > doc.frameSize.cy)
        return Status::failure(str::CropTooLarge);
    const int previous = doc.currentFrameIndex;
    if (doc.frameCount() > 0) {
        // Every new stream is made before any is stored, so a failure leaves every frame whole.
        std::vector<std::vector<uint8_t>> streams;
        streams.reserve(size_t(doc.frameCount()));
        progress.setText(stringText(str::Cropping));
        progress.setRange(0, doc.frameCount());
        std::vector<uint8_t> cropped(size_t(w) * size_t(h) * 3);
        for (int i = 0; i < doc.frameCount(); ++i) {
            progress.setPosition(i);
            doc.SelectFrame(i);
            const Bitmap24& image = doc.currentImage;
            if (image.width != doc.frameSize.cx || image.height != doc.frameSize.cy)
                return Status::failure(str::UnexpectedFormat);
            for (int y = 0; y < h; ++y)
                std::memcpy(cropped.data() + size_t(y) * size_t(w) * 3, image.pixel(crop.left, crop.top + y),
                            size_t(w) * 3);
            auto stream = compressPicture(cropped, Size{w, h}, 1);
            if (!stream) {
                doc.SelectFrame(previous, true);
                return Status::failure(str::UnexpectedFormat);
            }
            streams.push_back(std::move(*stream));
        }
        progress.setPosition(doc.frameCount());
        for (int i = 0; i < doc.frameCount(); ++i)
            doc.frames[size_t(i)].imageData = std::move(streams[size_t(i)]);
    }
    doc.frameOrigin.x += crop.left;
    doc.frameOrigin.y += crop.top;
    doc.frameSize = Size{w, h};
    if (doc.backgroundImage.isNull())
        doc.backgroundSize = Size{w, h};
    doc.currentImage = Bitmap24(w, h);
    doc.imageChanged = false;
    if (doc.isValidIndex(previous))
        doc.SelectFrame(previous, true);
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Everything);
    return Status::success();
}

static Status setFillBackgroundNow(CQuibDoc& doc, int cx, int cy, uint32_t color) {
    if (!coversFrame(doc, cx, cy))
        return Status::failure(str::BackgroundTooSmall);
    if (!pictureSizeFits(cx, cy))
        return Status::failureText(kPictureTooLarge);
    Bitmap24 picture(cx, cy);
    const uint8_t bgr[3] = {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)};
    for (size_t i = 0; i < picture.pixels.size(); i += 3)
        std::memcpy(picture.pixels.data() + i, bgr, 3);
    return applyBackground(doc, std::move(picture));
}

static Status setPictureBackgroundNow(CQuibDoc& doc, const Bitmap32& picture) {
    if (picture.isNull() || !coversFrame(doc, picture.width, picture.height))
        return Status::failure(str::BackgroundTooSmall);
    if (!pictureSizeFits(picture.width, picture.height))
        return Status::failureText(kPictureTooLarge);
    Bitmap24 background(picture.width, picture.height);
    const size_t count = size_t(picture.width) * size_t(picture.height);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* from = picture.pixels.data() + i * 4;
        uint8_t* to = background.pixels.data() + i * 3;
        if (from[3] == 0)
            std::memset(to, 0xFF, 3);
        else
            std::memcpy(to, from, 3);
    }
    return applyBackground(doc, std::move(background));
}

static Status setButtonPictureNow(CQuibDoc& doc, int kind, const Bitmap32& picture) {
    if (kind < ButtonImageSet::Previous || kind > ButtonImageSet::Goto2)
        return Status::failure(str::UnknownFileFormat);
    if (picture.isNull() || !pictureSizeFits(picture.width, picture.height))
        return Status::failure(str::UnknownFileFormat);
    doc.buttonImages.images[kind] = picture;
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(hint::Buttons);
    return Status::success();
}

Status insertFrames(CQuibDoc& doc, const InsertFramesRequest& request) {
    return editProject(doc, "Inserisci frame", [&] { return insertFramesNow(doc, request); });
}

Status insertPictureFrames(CQuibDoc& doc, const PictureReader& read, const std::vector<std::string>& paths,
                           bool after, Progress& progress) {
    return editProject(doc, "Inserisci frame da file",
                       [&] { return insertPictureFramesNow(doc, read, paths, after, progress); });
}

Status cropFrames(CQuibDoc& doc, Rect crop, Progress& progress) {
    return editProject(doc, "Ritaglia frame", [&] { return cropFramesNow(doc, crop, progress); });
}

Status setFillBackground(CQuibDoc& doc, int cx, int cy, uint32_t color) {
    return editProject(doc, "Imposta sfondo", [&] { return setFillBackgroundNow(doc, cx, cy, color); });
}

Status setPictureBackground(CQuibDoc& doc, const Bitmap32& picture) {
    return editProject(doc, "Imposta sfondo", [&] { return setPictureBackgroundNow(doc, picture); });
}

Status setButtonPicture(CQuibDoc& doc, int kind, const Bitmap32& picture) {
    return editProject(doc, "Cambia immagine pulsante",
                       [&] { return setButtonPictureNow(doc, kind, picture); });
}

}  // namespace quib

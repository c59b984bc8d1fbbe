#include "export/image_import.h"

#include <algorithm>
#include <cstring>

#include "imagefilters/image_file.h"

namespace quib {

Bitmap24 fitPictureToFrame(const Bitmap24& picture, Size frameSize) {
    Bitmap24 fitted(std::max(frameSize.cx, 0), std::max(frameSize.cy, 0));
    const int w = std::min(fitted.width, picture.width);
    const int h = std::min(fitted.height, picture.height);
    for (int y = 0; y < h; ++y)
        std::memcpy(fitted.pixel(0, y), picture.pixel(0, y), size_t(std::max(w, 0)) * 3);
    return fitted;
}

Status ImportImages(CQuibDoc& doc, const FilterTable& filters, const std::vector<std::string>& paths) {
    if (doc.frameCount() != 0 || paths.empty())
        return Status::failure(str::InsertFramesFailed);
    std::vector<Bitmap24> pictures;
    for (const std::string& path : paths) {
        auto picture = LoadImageFile24(filters, path);
        if (!picture)
            return Status::failure(str::UnknownFileFormat,
                                   std::string(stringText(str::UnknownFileFormat)) + ": " + path);
        pictures.push_back(std::move(*picture));
    }

    doc.InitNewProject();
    doc.SetEmptyProjectFrameSize(pictures.front().width, pictures.front().height);
    // The default positions SetEmptyProjectFrameSize gave the working copy, for every frame.
    FrameElements defaults = doc.currentFrame;
    defaults.textBox.visible = 0;
    defaults.prevButton.visible = defaults.nextButton.visible = 0;
    defaults.cursorVisible = 0;
    for (const Bitmap24& picture : pictures) {
        doc.currentImage = fitPictureToFrame(picture, doc.frameSize);
        doc.currentFrame = Frame();
        doc.currentFrame.assignElements(defaults);
        if (!doc.AppendCapturedFrame()) {
            doc.DeleteContents();
            return Status::failure(str::InsertFramesFailed);
        }
    }
    doc.SelectFrame(0, true);
    return Status::success();
}

}  // namespace quib

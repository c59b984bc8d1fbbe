#include "export/image_import.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "imagefilters/image_file.h"
#include "model/doc_observer.h"

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
    auto unreadable = [](const std::string& path) {
        return Status::failure(str::UnknownFileFormat,
                               std::string(stringText(str::UnknownFileFormat)) + ": " + path);
    };
    // Built apart and taken over only when complete; one picture at a time, so that only the
    // compressed frames stay in memory.
    CQuibDoc project;
    std::optional<Bitmap24> picture = LoadImageFile24(filters, paths.front());
    if (!picture)
        return unreadable(paths.front());
    project.InitNewProject();
    project.SetEmptyProjectFrameSize(picture->width, picture->height);
    // The default positions SetEmptyProjectFrameSize gave the working copy, for every frame.
    FrameElements defaults = project.currentFrame;
    defaults.textBox.visible = 0;
    defaults.prevButton.visible = defaults.nextButton.visible = 0;
    defaults.cursorVisible = 0;
    for (size_t k = 0; k < paths.size(); ++k) {
        if (k > 0 && !(picture = LoadImageFile24(filters, paths[k])))
            return unreadable(paths[k]);
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

}  // namespace quib

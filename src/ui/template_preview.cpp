#include "template_preview.h"

#include <algorithm>

#include "base/progress.h"
#include "model/frame_composition.h"
#include "model/project_file.h"
#include "model/quib_doc.h"
#include "model/template_apply.h"
#include "model/template_file.h"
#include "thumbnail_scaler.h"

namespace quib {

TemplatePreview::TemplatePreview(CQuibDoc& project)
    : m_projectPath(project.pathName()), m_frameIndex(project.currentFrameIndex) {
    NullProgress progress;
    const bool compressed = project.compressedSave;
    project.compressedSave = false;
    m_projectBytes = ProjectFile::store(project, m_projectPath, progress);
    project.compressedSave = compressed;
}

QImage TemplatePreview::render(const QString& templatePath, uint32_t mask, QSize area) const {
    if (templatePath.isEmpty() || area.isEmpty())
        return QImage();
    TemplateSet set;
    if (!set.Load(templatePath.toStdString()))
        return QImage();
    CQuibDoc preview;
    NullProgress progress;
    if (!ProjectFile::load(m_projectBytes, preview, m_projectPath, progress))
        return QImage();
    if (preview.isValidIndex(m_frameIndex))
        preview.SelectFrame(m_frameIndex, true);
    ApplyTemplate(preview, set, mask);

    const Size canvas = preview.backgroundSize;
    if (canvas.isEmpty())
        return QImage();
    Bitmap24 picture(canvas.cx, canvas.cy);
    if (!ComposeFrame(preview, picture.pixels.data(), ComposeAll | ComposeTitlePlaceholder))
        return QImage();

    // Fit the canvas into the area, keeping its proportions.
    const double scale = std::min({1.0, double(area.width()) / canvas.cx, double(area.height()) / canvas.cy});
    const int dw = std::max(1, int(canvas.cx * scale)), dh = std::max(1, int(canvas.cy * scale));
    QImage image(dw, dh, QImage::Format_BGR888);
    boxScale(picture.pixels.data(), canvas.cx, canvas.cy, picture.stride(), image.bits(), dw, dh,
             size_t(image.bytesPerLine()));
    return image;
}

}  // namespace quib

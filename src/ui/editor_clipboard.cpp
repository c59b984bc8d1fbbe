#include "editor_clipboard.h"

#include <QMimeData>
#include <algorithm>
#include <cstring>

#include "base/bitmap.h"
#include "model/frame_clipboard.h"
#include "model/frame_composition.h"
#include "model/frame_operations.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"

namespace quib {

namespace {
QString frameMime() {
    return QString::fromLatin1(kFrameFormatMime);
}
QString selItemsMime() {
    return QString::fromLatin1(kSelItemsFormatMime);
}

std::vector<uint8_t> bytesOf(const QMimeData& data, const QString& mime) {
    const QByteArray raw = data.data(mime);
    return std::vector<uint8_t>(raw.begin(), raw.end());
}

bool hasCurrentPicture(const CQuibDoc& doc) {
    return doc.isValidIndex(doc.currentFrameIndex) && !doc.frameSize.isEmpty() &&
           doc.currentImage.width == doc.frameSize.cx && doc.currentImage.height == doc.frameSize.cy;
}
}  // namespace

QImage currentFramePicture(const CQuibDoc& doc) {
    if (!hasCurrentPicture(doc))
        return QImage();
    const Bitmap24& image = doc.currentImage;
    return QImage(image.pixels.data(), image.width, image.height, qsizetype(image.stride()),
                  QImage::Format_BGR888)
        .copy();
}

QMimeData* selectionMimeData(const CQuibDoc& doc, uint32_t selection) {
    auto* data = new QMimeData;
    if (selection == 0 || (selection & selitem::FrameImage)) {
        data->setImageData(currentFramePicture(doc));
        return data;
    }
    const std::vector<uint8_t> bytes = CopySelItemsToClipboardFile(doc, selection);
    data->setData(selItemsMime(),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    return data;
}

QMimeData* mergedFrameMimeData(CQuibDoc& doc) {
    auto* data = new QMimeData;
    const Size canvas = doc.backgroundSize;
    if (canvas.isEmpty() || !hasCurrentPicture(doc))
        return data;
    QImage picture(canvas.cx, canvas.cy, QImage::Format_BGR888);
    picture.fill(QColor(kUncoveredCanvas, kUncoveredCanvas, kUncoveredCanvas));
    ComposeFrame(doc, picture.bits(), ComposeAll, int(picture.bytesPerLine()));
    data->setImageData(picture);
    return data;
}

bool editorCanPaste(const QMimeData* data) {
    return data && (data->hasFormat(frameMime()) || data->hasFormat(selItemsMime()) || data->hasImage());
}

Status insertEmptyFrames(CQuibDoc& doc, int count, int cx, int cy) {
    InsertFramesRequest request;
    request.count = count;
    request.emptyProjectSize = Size{cx, cy};
    return insertFrames(doc, request);
}

Status pastePicture(CQuibDoc& doc, const QImage& picture) {
    if (picture.isNull())
        return Status::success();
    if (doc.frameCount() == 0) {
        Status inserted = insertEmptyFrames(doc, 1, picture.width(), picture.height());
        if (!inserted)
            return inserted;
    }
    if (!hasCurrentPicture(doc))
        return Status::success();
    const QImage rows = picture.convertToFormat(QImage::Format_BGR888);
    editProject(doc, "Incolla immagine", [&] {
        Bitmap24& image = doc.currentImage;
        const int w = std::min(image.width, rows.width());
        const int h = std::min(image.height, rows.height());
        for (int y = 0; y < h; ++y)
            std::memcpy(image.pixel(0, y), rows.constScanLine(y), size_t(w) * 3);
        doc.imageChanged = true;
        return true;
    });
    doc.UpdateAllViews(hint::CurrentPicture);
    return Status::success();
}

EditorPasteResult pasteIntoEditor(CQuibDoc& doc, const QMimeData& data) {
    EditorPasteResult result;
    if (data.hasFormat(frameMime())) {
        result.status = PasteFramesFromFile(doc, bytesOf(data, frameMime()), doc.currentFrameIndex);
        if (!result.status)
            return result;
        result.pasted = true;
    }
    if (data.hasImage()) {
        result.status = pastePicture(doc, data.imageData().value<QImage>());
        if (!result.status)
            return result;
        result.pasted = true;
    }
    // Elements need a frame to land on; without one they would be committed nowhere.
    if (data.hasFormat(selItemsMime()) && doc.isValidIndex(doc.currentFrameIndex)) {
        result.selection = PasteSelItemsFromFile(doc, bytesOf(data, selItemsMime()));
        result.pasted = result.pasted || result.selection != 0;
    }
    return result;
}

}  // namespace quib

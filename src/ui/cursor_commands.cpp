#include "cursor_commands.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>
#include <cstring>

#include "app_paths.h"
#include "base/strings.h"
#include "command_ids.h"
#include "cursor_library_dialog.h"
#include "cursors/cursor_library_file.h"
#include "cursors/standard_cursors.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "quib_project_document.h"

namespace quib {

namespace {

CursorChooser& chooserFunction() {
    static CursorChooser chooser;
    return chooser;
}

std::optional<CursorPicture> runChooserDialog(const CursorPicture& current, QWidget* parent) {
    CursorLibraryDialog dialog(current, userCursorLibraryReadPath(), userCursorLibraryPath(), parent);
    if (!dialog.loadMessage().isEmpty())
        QMessageBox::warning(parent, QString::fromUtf8(stringText(str::AppName)), dialog.loadMessage());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenCursor();
}

}  // namespace

QImage cursorToImage(const Bitmap32& picture) {
    if (picture.isNull())
        return QImage();
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.pixel(0, y), picture.stride());
    return image;
}

Bitmap32 imageToCursorBitmap(const QImage& source) {
    if (source.isNull())
        return Bitmap32();
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    Bitmap32 picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            uint8_t* p = picture.pixel(x, y);
            if (qAlpha(line[x]) >= 128) {
                p[0] = uint8_t(qBlue(line[x])), p[1] = uint8_t(qGreen(line[x])),
                p[2] = uint8_t(qRed(line[x]));
                p[3] = 255;
            } else {
                p[0] = p[1] = p[2] = 1, p[3] = 0;
            }
        }
    }
    return picture;
}

QString userCursorLibraryPath() {
    return QDir(userDataFolder()).filePath(QString::fromLatin1(kUserCursorFileName));
}

QString userCursorLibraryReadPath() {
    const QString found = findDataFile(QString::fromLatin1(kUserCursorFileName));
    return found.isEmpty() ? userCursorLibraryPath() : found;
}

CursorPicture frameCursorForChooser(const CQuibDoc& doc, int frame) {
    CursorPicture cursor;
    cursor.image = doc.frameCursorImage(frame);
    if (cursor.image.width < 1 || cursor.image.height < 1)
        return standardArrowCursor();
    cursor.hotSpot = Point{cursor.image.width / 2, cursor.image.height / 2};
    return cursor;
}

void applyCursorToFrames(CQuibDoc& doc, const std::vector<int>& frames, const CursorPicture& cursor) {
    bool any = false;
    editFrames(doc, "Cambia cursore", frames, [&] {
        for (int index : frames) {
            if (!doc.isValidIndex(index))
                continue;
            Frame frame;
            doc.GetFrame(index, frame);
            CQuibDoc::SetCursorImageFromHandle(frame, cursor);
            doc.SetFrame(index, frame, true);
            any = true;
        }
    });
    if (!any)
        return;
    doc.UpdateAllViews(hint::CursorPicture);
}

bool chooseCursorForFrames(CQuibDoc& doc, const std::vector<int>& frames, QWidget* parent) {
    int first = -1;
    for (int index : frames) {
        if (doc.isValidIndex(index)) {
            first = index;
            break;
        }
    }
    if (first < 0)
        return false;
    const CursorPicture current = frameCursorForChooser(doc, first);
    const std::optional<CursorPicture> chosen =
        chooserFunction() ? chooserFunction()(current, parent) : runChooserDialog(current, parent);
    if (!chosen)
        return false;
    applyCursorToFrames(doc, frames, *chosen);
    return true;
}

void setCursorChooser(CursorChooser chooser) {
    chooserFunction() = std::move(chooser);
}

bool CursorCommands::handles(int id) const {
    return id == cmd::ChooseCursor;
}

bool CursorCommands::enabled(int id) const {
    const CQuibDoc& doc = m_document.doc();
    return id == cmd::ChooseCursor && doc.isValidIndex(doc.currentFrameIndex) &&
           doc.currentFrame.cursorVisible != 0;
}

void CursorCommands::run(int id) {
    if (!enabled(id))
        return;
    CQuibDoc& doc = m_document.doc();
    chooseCursorForFrames(doc, {doc.currentFrameIndex}, QApplication::activeWindow());
}

}  // namespace quib

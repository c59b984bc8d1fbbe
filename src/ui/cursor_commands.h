#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "base/cursor_picture.h"
#include "command_handler.h"

class QWidget;

namespace quib {

class CQuibDoc;
class QuibProjectDocument;

// A cursor picture as an ARGB32 image (the bytes are the same), and back: alpha from 128 up is
// opaque, anything else the transparent pixel 1, 1, 1, 0.
QImage cursorToImage(const Bitmap32& picture);
Bitmap32 imageToCursorBitmap(const QImage& image);

// Where the user cursor library is written (the user's data folder; the program's folder is not
// writable), and where it is read from: the user's copy, else a shipped one, else the first.
QString userCursorLibraryPath();
QString userCursorLibraryReadPath();

// The cursor the chooser starts from for a frame: its own picture with the hot spot in the middle,
// or the standard arrow when it has none.
CursorPicture frameCursorForChooser(const CQuibDoc& doc, int frame);

// Gives every listed frame the cursor's picture as its cursor picture (positions stay), then
// marks the document modified and tells the views the cursor picture changed.
void applyCursorToFrames(CQuibDoc& doc, const std::vector<int>& frames, const CursorPicture& cursor);

// Runs the cursor chooser from the first listed frame's cursor and, on OK, applies the chosen
// cursor to every listed frame. False on cancel or when no listed frame exists.
bool chooseCursorForFrames(CQuibDoc& doc, const std::vector<int>& frames, QWidget* parent);

// What runs the chooser: the modal "Seleziona cursore" dialog unless replaced (tests).
using CursorChooser =
    std::function<std::optional<CursorPicture>(const CursorPicture& current, QWidget* parent)>;
void setCursorChooser(CursorChooser chooser);

// The choose-cursor command for the current frame, for when no properties panel takes it first.
class CursorCommands : public CommandHandler {
public:
    explicit CursorCommands(QuibProjectDocument& document) : m_document(document) {}
    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;

private:
    QuibProjectDocument& m_document;
};

}  // namespace quib

#pragma once

#include <QColor>
#include <QDialog>
#include <QMessageBox>
#include <functional>
#include <map>
#include <optional>

#include "base/cursor_picture.h"
#include "cursors/cursor_image_editor.h"

class QAction;
class QActionGroup;
class QWidget;

namespace quib {

// The cursor image editor: a zoomed editing area, a real-size preview, the palette with its
// transparent entry, the eight drawing tools, cut, copy, paste, one undo step, delete, flips and
// colour inversion. OK gives the edited cursor with the input's hot spot.
class CursorEditorDialog : public QDialog {
public:
    // Command ids of the tool bars (they are also the keys of action()).
    enum Id {
        OkId = 1,
        CutId = 40001,
        CopyId = 40002,
        PasteId = 40003,
        UndoId = 40004,
        DeleteId = 40005,
        FillId = 40006,
        PenId = 40007,
        FlipId = 40008,
        RectangleId = 40009,
        MirrorId = 40010,
        InvertId = 40011,
        FilledRectangleId = 40012,
        LineId = 40013,
        EllipseId = 1018,
        FilledEllipseId = 1019,
        EraserId = 1020,
    };
    // Palette entries: 0 transparent, 1 inverting (never offered), 2 to 17 opaque colours.
    static constexpr int kPaletteSize = 18;
    static QColor paletteColour(int entry);

    CursorEditorDialog(const CursorPicture& input, const QString& caption, QWidget* parent = nullptr);

    // Runs the editor modally; the edited cursor on OK, nothing on cancel.
    static std::optional<CursorPicture> edit(QWidget* owner, const CursorPicture& input,
                                             const QString& caption);

    CursorImageEditor& editor() { return m_editor; }
    CursorPicture editedCursor() const { return m_editor.result(); }
    int zoom() const { return m_zoom; }
    QAction* action(int id) const;
    QWidget* editArea() const { return m_area; }
    QWidget* previewArea() const { return m_preview; }
    QWidget* paletteView() const { return m_palette; }

    int leftEntry() const { return m_left; }
    int rightEntry() const { return m_right; }
    // Picks a palette entry for a mouse button; the inverting entry cannot be picked.
    void pickEntry(int entry, Qt::MouseButton button);
    CursorColour colourFor(Qt::MouseButton button) const;
    QColor screenColour() const { return m_screen; }
    void setScreenColour(const QColor& colour);

    // The picture as the editing area shows it, at real size (what Copy puts on the clipboard).
    QImage shownImage() const;
    void runCommand(int id);

    // The question of a cancel after a change (Yes, No or Cancel); a message box unless replaced.
    std::function<QMessageBox::StandardButton()> askSaveChanges;

    void reject() override;

private:
    void addCommand(QWidget* bar, int id, const QString& tip, const QKeySequence& key);
    void addTool(QWidget* bar, int id, CursorTool tool, const QString& tip, const QKeySequence& key);
    void pictureChanged();
    void updatePaste();

    CursorImageEditor m_editor;
    int m_zoom = 1;
    int m_left = 2;
    int m_right = 3;
    QColor m_screen;
    std::map<int, QAction*> m_actions;
    QActionGroup* m_tools = nullptr;
    QWidget* m_area = nullptr;
    QWidget* m_preview = nullptr;
    QWidget* m_palette = nullptr;
};

}  // namespace quib

#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shape_document.h"
#include "shape_editor.h"
#include "shapes/callout.h"
#include "shapes/callout_library.h"

class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quib {

// What the dialog asks of the user; tests replace these so that no modal box opens.
struct CalloutEditorInteraction {
    std::function<QMessageBox::StandardButton(const QString&)> askYesNoCancel;
    std::function<bool(const QString&)> askYesNo;
    // A refusal or failure, shown with a stop icon.
    std::function<void(const QString&)> showStop;
    std::function<std::optional<uint32_t>(uint32_t start)> chooseColour;
    static CalloutEditorInteraction standard(QWidget* parent);
};

// A callout renamed or deleted in the library while the dialog was open; the frames that name it
// follow (newName empty: deleted).
struct CalloutNameChange {
    std::string oldName;
    std::string newName;
};

// "Callout Editor": chooses the callout of a text box and maintains the callout library, with a
// shape editor for the callout being edited. The library is written to writePath when the dialog
// closes after a change, unless the edited callout still holds unsaved changes.
class CalloutEditorDialog : public QDialog, public ShapeDocument {
public:
    CalloutEditorDialog(CalloutLibrary& library, const std::string& initialName, const QString& writePath,
                        QWidget* parent = nullptr);

    CalloutEditorInteraction& interaction() { return m_interaction; }
    // Counts the frames of the open projects that use a callout, so that deleting one in use says so.
    void setUseCounter(std::function<int(const std::string& name)> count) { m_useCount = std::move(count); }

    QListWidget* calloutList() const { return m_calloutList; }
    QListWidget* shapeList() const { return m_shapeList; }
    QLineEdit* nameField() const { return m_nameField; }
    ShapeEditor* editor() const { return m_editor; }
    QComboBox* penWidthBox() const { return m_penWidth; }
    QComboBox* penStyleBox() const { return m_penStyle; }
    QAction* undoAction() const { return m_undoAction; }
    QAction* flipAction() const { return m_flipAction; }
    QAction* mirrorAction() const { return m_mirrorAction; }

    const Callout& edited() const { return m_edited; }
    int currentIndex() const { return m_currentIndex; }
    bool isCalloutModified() const { return m_calloutModified; }
    bool libraryChanged() const { return m_libraryChanged; }
    int resultIndex() const { return m_resultIndex; }
    const std::string& resultName() const { return m_resultName; }
    const std::vector<CalloutNameChange>& nameChanges() const { return m_nameChanges; }
    // Why the library could not be written on closing (empty when it was, or did not need to be).
    QString saveMessage() const { return m_saveMessage; }

    void selectCallout(int row);
    void newCallout();
    void save();
    void saveAs();
    void deleteCallout();
    void moveUp();
    void moveDown();
    void chooseTextColour();
    void chooseDrawColour();
    void setDrawColour(uint32_t colour) { m_drawColour = colour; }
    void chooseShapeColour();
    void setTool(ShapeTool tool);

    void accept() override;
    void reject() override;

    // ShapeDocument
    void SetModified(bool modified) override;
    std::vector<std::unique_ptr<Shape>>& shapes() override { return m_edited.shapes; }
    ShapeEditHistory& history() override { return m_history; }
    ShapePen newShapePen() const override { return {m_drawColour, m_newPenWidth, m_newPenStyle}; }
    bool canEditShapes() const override { return m_currentIndex >= 0; }
    void DrawBackground(raster::DrawContext& dc) override;
    void DrawOverlay(raster::DrawContext& dc) override;
    void DrawOutputPreview(raster::DrawContext& dc) override;
    void shapesChanged() override;

private:
    QWidget* buildToolbar();
    // Settles the edited callout and loads the list's selection; false when the user cancelled.
    bool loadSelected();
    void rebuildShapeList();
    void mirrorSelection();
    void updateControls();
    void updateCaption();
    void finish(bool choose);
    void addToLibrary();
    void setNewPenWidth(int width);
    Shape* singleSelected() const;

    CalloutLibrary& m_library;
    CalloutEditorInteraction m_interaction;
    std::function<int(const std::string&)> m_useCount;
    QString m_writePath;
    Callout m_edited;
    ShapeEditHistory m_history{m_edited.shapes};
    int m_currentIndex = -1;
    bool m_calloutModified = false;
    bool m_libraryChanged = false;
    int m_resultIndex = -1;
    std::string m_resultName;
    std::vector<CalloutNameChange> m_nameChanges;
    QString m_saveMessage;
    uint32_t m_drawColour = 0;
    int m_newPenWidth = 1;
    int m_newPenStyle = 0;
    bool m_updating = false;

    QListWidget* m_calloutList = nullptr;
    QListWidget* m_shapeList = nullptr;
    QLineEdit* m_nameField = nullptr;
    QPushButton* m_textColour = nullptr;
    QPushButton* m_drawColourButton = nullptr;
    QComboBox* m_penWidth = nullptr;
    QComboBox* m_penStyle = nullptr;
    QPushButton* m_shapeColour = nullptr;
    QComboBox* m_shapeWidth = nullptr;
    QComboBox* m_shapeStyle = nullptr;
    ShapeEditor* m_editor = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_flipAction = nullptr;
    QAction* m_mirrorAction = nullptr;
    QAction* m_selectAllAction = nullptr;
    QAction* m_invertAction = nullptr;
    std::vector<std::pair<QAction*, ShapeTool>> m_toolActions;
};

}  // namespace quib

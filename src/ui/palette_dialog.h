#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "base/progress.h"
#include "palette_edit_state.h"

class QPushButton;
class QSpinBox;

namespace quib {

class CQuibDoc;
class NewPaletteDialog;
class PaletteDialog;
class PaletteSwatchGrid;

// What the palette dialog asks of the user; tests replace these so that no modal box opens.
// Members left empty use the standard dialogs.
struct PaletteDialogPrompts {
    std::function<void(const QString&)> showMessage;
    std::function<bool(const QString&)> askYesNo;
    std::function<QString()> openFileName;
    std::function<QString()> saveFileName;
    // The colour chooser, started from a colour; nothing when it was cancelled.
    std::function<std::optional<QColor>(const QColor&)> chooseColour;
    // Runs "Crea nuova Palette"; true on OK.
    std::function<bool(NewPaletteDialog&)> runNewPalette;
    // The progress display of the octree palette (the progress dialog by default).
    std::function<std::unique_ptr<Progress>(QWidget* parent)> makeProgress;
    // Runs the palette dialog itself; true on OK.
    std::function<bool(PaletteDialog&)> runPalette;
};

// "Modifica Palette": the project palette's colour grid, its count, and the ways to make, load
// and save a palette. It works on a copy; the caller takes palette() after OK.
class PaletteDialog : public QDialog {
public:
    PaletteDialog(CQuibDoc& doc, QWidget* parent = nullptr);

    static PaletteDialogPrompts& prompts();

    const Palette& palette() const { return m_state.palette(); }
    const PaletteEditState& state() const { return m_state; }

    PaletteSwatchGrid* grid() const { return m_grid; }
    QSpinBox* countEdit() const { return m_count; }
    QPushButton* createButton() const { return m_create; }
    QPushButton* loadButton() const { return m_load; }
    QPushButton* saveButton() const { return m_save; }

    // The buttons' actions; each gives false when it changed nothing.
    bool createNew();
    bool loadFile();
    bool saveFile();
    // Opens the colour chooser on an entry.
    bool editEntry(int index);

private:
    void countTextChanged(const QString& text);
    void showCount();
    void showMessage(const QString& text);
    bool askYesNo(const QString& question);

    CQuibDoc& m_doc;
    PaletteEditState m_state;
    PaletteSwatchGrid* m_grid = nullptr;
    QSpinBox* m_count = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_save = nullptr;
    bool m_showingCount = false;
};

}  // namespace quib

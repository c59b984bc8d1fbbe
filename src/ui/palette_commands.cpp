#include "palette_commands.h"

#include <QApplication>
#include <algorithm>

#include "command_ids.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "palette_dialog.h"
#include "quib_project_document.h"
#include "render/render_project.h"

namespace quib {

bool runPaletteDialog(CQuibDoc& doc, QWidget* parent) {
    PaletteDialog dialog(doc, parent);
    PaletteDialogPrompts& prompts = PaletteDialog::prompts();
    const bool accepted =
        prompts.runPalette ? prompts.runPalette(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    const Palette& palette = dialog.palette();
    const int count = std::clamp(palette.count, 0, kMaxPaletteEntries);
    // Accepting the dialog marks the project modified even when the palette stays: a step.
    editProject(doc, "Modifica palette", [&] {
        std::copy_n(palette.entries.begin(), count, doc.settings.palette);
        doc.settings.paletteCount = count;
        return true;
    });
    doc.UpdateAllViews(hint::CurrentPicture);
    return true;
}

bool supplyMissingPalette(CQuibDoc& doc, QWidget* parent,
                          const std::function<void(const QString&)>& showMessage) {
    if (showMessage)
        showMessage(QString::fromUtf8(kNoPaletteMessage));
    runPaletteDialog(doc, parent);
    return doc.settings.paletteCount >= 1;
}

bool PaletteCommands::handles(int id) const {
    return id == cmd::EditPalette;
}

bool PaletteCommands::enabled(int id) const {
    return id == cmd::EditPalette && m_document.doc().settings.usePalette != 0;
}

void PaletteCommands::run(int id) {
    if (enabled(id))
        runPaletteDialog(m_document.doc(), QApplication::activeWindow());
}

}  // namespace quib

#pragma once

#include <QString>
#include <functional>

#include "command_handler.h"

class QWidget;

namespace quib {

class CQuibDoc;
class QuibProjectDocument;

// Opens "Modifica Palette" on the project's palette. On OK the project takes the dialog's count
// and that many entries, is marked modified and its views redraw the picture; returns true then.
// Cancel changes nothing and returns false.
bool runPaletteDialog(CQuibDoc& doc, QWidget* parent);

// A render in palette mode found no palette: shows the message that says so, then the palette
// dialog. True when the project has a palette afterwards, so the render may go on.
bool supplyMissingPalette(CQuibDoc& doc, QWidget* parent,
                          const std::function<void(const QString&)>& showMessage);

// The palette command of a project, available while the project renders with a palette.
class PaletteCommands final : public CommandHandler {
public:
    explicit PaletteCommands(QuibProjectDocument& document) : m_document(document) {}

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;

private:
    QuibProjectDocument& m_document;
};

}  // namespace quib

#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>

#include "base/text_font.h"

class QFontDialog;
class QLabel;
class QToolButton;

namespace quib {

// Face, size, style and colour of text in one dialog: a font chooser with a row of colours and
// a preview in both. calloutColour is the colour shown while the text follows its callout.
class FontColourDialog : public QDialog {
public:
    FontColourDialog(const TextFont& start, uint32_t calloutColour, QWidget* parent = nullptr);

    // The font chosen so far, with start's alignment and the other bytes start had.
    TextFont chosen() const;
    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QFontDialog* fontChooser() const { return m_fonts; }
    QToolButton* swatch(int index) const;
    static int swatchCount();

private:
    void chooseOtherColour();
    void showPreview();

    TextFont m_start;
    QColor m_colour;
    bool m_colourChanged = false;
    QFontDialog* m_fonts = nullptr;
    QLabel* m_preview = nullptr;
    QToolButton* m_other = nullptr;
    QList<QToolButton*> m_swatches;
};

}  // namespace quib

#include "font_colour_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <iterator>

#include "panel_choices.h"
#include "raster/font_mapping.h"

namespace quib {

namespace {

// Colours that read on screenshots, light and dark.
constexpr QRgb kColours[] = {0x000000, 0x404040, 0x808080, 0xFFFFFF, 0xC00000, 0xFF6600, 0xFFCC00, 0x008000,
                             0x00A0A0, 0x0050C0, 0x000080, 0x800080, 0xE0007A, 0x804000, 0xFFFFC0, 0xC0E0FF};

QIcon swatchIcon(const QColor& colour) {
    QPixmap picture(18, 18);
    picture.fill(Qt::darkGray);
    QPixmap inner(16, 16);
    inner.fill(colour);
    {
        QPainter painter(&picture);
        painter.drawPixmap(1, 1, inner);
    }
    return QIcon(picture);
}

// The chooser selects a face's style by name; a font made from a record has none, and the
// chooser would fall back to the face's first style (often an italic one).
QFont withStyleName(QFont font) {
    // Plain width first: "Condensed" has the same weight and slant as "Book", and the font
    // database does not tell their widths apart.
    auto widthWord = [](const QString& style) {
        for (const char* word : {"Condensed", "Expanded", "Narrow", "Wide"})
            if (style.contains(QLatin1String(word), Qt::CaseInsensitive))
                return true;
        return false;
    };
    for (bool plainWidth : {true, false}) {
        for (const QString& style : QFontDatabase::styles(font.family())) {
            const QFont candidate = QFontDatabase::font(font.family(), style, font.pointSize());
            if (candidate.weight() == font.weight() && candidate.italic() == font.italic() &&
                !(plainWidth && widthWord(style))) {
                font.setStyleName(style);
                return font;
            }
        }
    }
    return font;
}

QColor colourOf(uint32_t colorRef) {
    return QColor(redOf(colorRef), greenOf(colorRef), blueOf(colorRef));
}

}  // namespace

FontColourDialog::FontColourDialog(const TextFont& start, uint32_t calloutColour, QWidget* parent)
    : QDialog(parent), m_start(start) {
    setWindowTitle(QStringLiteral("Carattere"));
    m_colour = colourOf(start.color == kCalloutTextColour ? calloutColour : start.color);

    // The font chooser is embedded, without its own buttons: this dialog's buttons end both.
    m_fonts = new QFontDialog(this);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setCurrentFont(withStyleName(raster::fontFromLogFont(start.logFont)));
    connect(m_fonts, &QFontDialog::currentFontChanged, this, [this] { showPreview(); });

    auto* colours = new QGridLayout;
    colours->setSpacing(3);
    colours->addWidget(new QLabel(QStringLiteral("Colore:"), this), 0, 0, 2, 1, Qt::AlignTop);
    const int perRow = int(std::size(kColours)) / 2;
    for (int i = 0; i < int(std::size(kColours)); ++i) {
        auto* button = new QToolButton(this);
        const QColor colour = QColor::fromRgb(kColours[i]);
        button->setIcon(swatchIcon(colour));
        button->setAutoRaise(true);
        button->setToolTip(colour.name());
        connect(button, &QToolButton::clicked, this, [this, colour] { setColour(colour); });
        colours->addWidget(button, i / perRow, 1 + i % perRow);
        m_swatches.append(button);
    }
    m_other = new QToolButton(this);
    m_other->setText(QStringLiteral("Altro colore..."));
    connect(m_other, &QToolButton::clicked, this, [this] { chooseOtherColour(); });
    colours->addWidget(m_other, 0, 1 + perRow, 2, 1);
    colours->setColumnStretch(2 + perRow, 1);

    m_preview = new QLabel(QStringLiteral("AaBbYyZz àèìòù"), this);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumHeight(56);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setAutoFillBackground(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts, 1);
    layout->addLayout(colours);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);
    showPreview();
}

TextFont FontColourDialog::chosen() const {
    TextFont result = m_start;
    result.logFont = logFontFromFont(m_fonts->currentFont(), m_start.logFont);
    // The callout's own colour stays until the user picks one.
    if (m_colourChanged || m_start.color != kCalloutTextColour)
        result.color = rgb(uint8_t(m_colour.red()), uint8_t(m_colour.green()), uint8_t(m_colour.blue()));
    return result;
}

void FontColourDialog::setColour(const QColor& colour) {
    if (!colour.isValid())
        return;
    m_colour = colour;
    m_colourChanged = true;
    showPreview();
}

QToolButton* FontColourDialog::swatch(int index) const {
    return index >= 0 && index < m_swatches.size() ? m_swatches[index] : nullptr;
}

int FontColourDialog::swatchCount() {
    return int(std::size(kColours));
}

void FontColourDialog::chooseOtherColour() {
    setColour(QColorDialog::getColor(m_colour, this, QStringLiteral("Colore del testo")));
}

void FontColourDialog::showPreview() {
    m_preview->setFont(m_fonts->currentFont());
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::WindowText, m_colour);
    // A light colour is previewed on a dark ground, so that it can be seen.
    palette.setColor(QPalette::Window,
                     m_colour.lightness() > 200 ? QColor(64, 64, 64) : QColor(255, 255, 255));
    m_preview->setPalette(palette);
}

}  // namespace quib

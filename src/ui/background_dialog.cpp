#include "background_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/frame_operations.h"
#include "title_width.h"

namespace quib {

namespace {
QColor toColor(uint32_t colorRef) {
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}
uint32_t toColorRef(const QColor& color) {
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}
}  // namespace

BackgroundDialog::BackgroundDialog(const Values& start, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Seleziona l'immagine di sfondo"));
    keepTitleVisible(*this);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;

    m_fill = new QRadioButton(QStringLiteral("&Riempi con un colore solido"), this);
    grid->addWidget(m_fill, 0, 0, 1, 5);
    m_width = new QSpinBox(this);
    m_height = new QSpinBox(this);
    m_width->setRange(0, kMaxPictureSide);
    m_height->setRange(0, kMaxPictureSide);
    m_width->setValue(start.cx);
    m_height->setValue(start.cy);
    grid->addWidget(m_width, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("x"), this), 1, 2);
    grid->addWidget(m_height, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("pixels"), this), 1, 4);
    m_swatch = new QPushButton(this);
    m_swatch->setFixedSize(40, 24);
    grid->addWidget(m_swatch, 2, 1);
    connect(m_swatch, &QPushButton::clicked, this, [this] { chooseColor(); });

    m_file = new QRadioButton(QStringLiteral("Carica immagine da file:"), this);
    grid->addWidget(m_file, 3, 0, 1, 5);
    m_fileName = new QLineEdit(start.fileName, this);
    grid->addWidget(m_fileName, 4, 1, 1, 3);
    m_browseButton = new QPushButton(QStringLiteral("&Sfoglia"), this);
    grid->addWidget(m_browseButton, 4, 4);
    connect(m_browseButton, &QPushButton::clicked, this, [this] { browse(); });
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_fill, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    setFillColor(start.fillColor);
    setMode(start.mode);
}

BackgroundDialog::Values BackgroundDialog::values() const {
    Values values;
    values.mode = m_file->isChecked() ? FileMode : FillMode;
    values.cx = m_width->value();
    values.cy = m_height->value();
    values.fillColor = m_color;
    values.fileName = m_fileName->text();
    return values;
}

void BackgroundDialog::setMode(int mode) {
    (mode == FileMode ? m_file : m_fill)->setChecked(true);
    updateEnabled();
}

void BackgroundDialog::setFillColor(uint32_t color) {
    m_color = color & 0xFFFFFF;
    m_swatch->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid black;").arg(toColor(m_color).name()));
}

void BackgroundDialog::browse() {
    if (!m_browse)
        return;
    const QString chosen = m_browse(m_fileName->text());
    if (!chosen.isEmpty())
        m_fileName->setText(chosen);
}

void BackgroundDialog::updateEnabled() {
    const bool fill = m_fill->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_width), static_cast<QWidget*>(m_height), static_cast<QWidget*>(m_swatch)})
        control->setEnabled(fill);
    m_fileName->setEnabled(!fill);
    m_browseButton->setEnabled(!fill);
}

void BackgroundDialog::chooseColor() {
    const QColor chosen = QColorDialog::getColor(toColor(m_color), this);
    if (chosen.isValid())
        setFillColor(toColorRef(chosen));
}

}  // namespace quib

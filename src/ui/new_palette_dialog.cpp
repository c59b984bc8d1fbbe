#include "new_palette_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/strings.h"
#include "palette/palette_entry.h"

namespace quib {

namespace {
const QString kCountRangeMessage = QStringLiteral("Si prega di inserire un numero tra 1 e 256");
}

NewPaletteDialog::NewPaletteDialog(int currentCount, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Crea nuova Palette"));
    m_standard = new QRadioButton(QStringLiteral("Palette standard di Windows &16 colori"), this);
    m_webSafe = new QRadioButton(QStringLiteral("Palette standard Web-Safe &216 colori"), this);
    m_octree = new QRadioButton(QStringLiteral("Quantizzazione &Octree ottimizzata"), this);
    auto* methods = new QButtonGroup(this);
    for (QRadioButton* button : {m_standard, m_webSafe, m_octree})
        methods->addButton(button);

    m_count = new QSpinBox(this);
    // Wider than the valid range, so that a wrong number reaches the check on OK.
    m_count->setRange(0, 999);
    m_count->setValue(currentCount > 0 && currentCount <= kMaxPaletteEntries ? currentCount
                                                                             : kMaxPaletteEntries);
    auto* countLabel = new QLabel(QStringLiteral("&Numero di colori:"), this);
    countLabel->setBuddy(m_count);

    m_currentFrame = new QRadioButton(QStringLiteral("Calcola solo sul frame &corrente"), this);
    m_allFrames = new QRadioButton(QStringLiteral("Calcola su tutti i &frames"), this);
    auto* scopes = new QButtonGroup(this);
    scopes->addButton(m_currentFrame);
    scopes->addButton(m_allFrames);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addWidget(m_count);
    countRow->addStretch(1);
    auto* octreeOptions = new QVBoxLayout;
    octreeOptions->setContentsMargins(24, 0, 0, 0);
    octreeOptions->addLayout(countRow);
    octreeOptions->addWidget(m_currentFrame);
    octreeOptions->addWidget(m_allFrames);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NewPaletteDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_standard);
    layout->addWidget(m_webSafe);
    layout->addWidget(m_octree);
    layout->addLayout(octreeOptions);
    layout->addStretch(1);
    layout->addWidget(buttons);

    for (QRadioButton* button : {m_standard, m_webSafe, m_octree})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                methodChanged();
        });
    m_octree->setChecked(true);
}

void NewPaletteDialog::methodChanged() {
    const bool octree = m_octree->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{m_count, m_currentFrame, m_allFrames})
        field->setEnabled(octree);
    if (octree)
        m_allFrames->setChecked(true);
}

int NewPaletteDialog::typedCount(bool* ok) const {
    return m_count->cleanText().trimmed().toInt(ok);
}

NewPaletteChoice NewPaletteDialog::choice() const {
    NewPaletteChoice result;
    if (m_standard->isChecked())
        result.method = NewPaletteChoice::Method::Standard16;
    else if (m_webSafe->isChecked())
        result.method = NewPaletteChoice::Method::WebSafe216;
    else
        result.method = NewPaletteChoice::Method::Octree;
    bool ok = false;
    const int count = typedCount(&ok);
    result.colours = ok ? count : 0;
    result.allFrames = m_allFrames->isChecked();
    return result;
}

void NewPaletteDialog::accept() {
    if (m_octree->isChecked()) {
        bool ok = false;
        const int count = typedCount(&ok);
        if (!ok || count < 1 || count > kMaxPaletteEntries) {
            if (m_message)
                m_message(kCountRangeMessage);
            else
                QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), kCountRangeMessage);
            m_count->setFocus(Qt::OtherFocusReason);
            m_count->selectAll();
            return;
        }
    }
    QDialog::accept();
}

}  // namespace quib

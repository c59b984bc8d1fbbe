#include "palette_dialog.h"

#include <algorithm>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/strings.h"
#include "model/quib_doc.h"
#include "new_palette_dialog.h"
#include "palette/palette_file.h"
#include "palette_swatch_grid.h"
#include "project_palette.h"
#include "render_progress_dialog.h"
#include "save_file_dialog.h"

namespace quib {

namespace {

const QString kCountRangeMessage = QStringLiteral("Si prega di inserire un numero tra 1 e 256");
const QStringList kFileFilters = {QStringLiteral("Palette Files (*.pal)"), QStringLiteral("All Files (*)")};

Palette projectPalette(const CQuibDoc& doc) {
    Palette palette;
    std::copy(std::begin(doc.settings.palette), std::end(doc.settings.palette), palette.entries.begin());
    palette.count = std::clamp(doc.settings.paletteCount, 0, kMaxPaletteEntries);
    return palette;
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

PaletteDialogPrompts& PaletteDialog::prompts() {
    static PaletteDialogPrompts functions;
    return functions;
}

PaletteDialog::PaletteDialog(CQuibDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_state(projectPalette(doc)) {
    setWindowTitle(QStringLiteral("Modifica Palette"));

    m_grid = new PaletteSwatchGrid(m_state, this);
    m_grid->setChangeCallback([this] { showCount(); });
    m_grid->setEditCallback([this](int index) { editEntry(index); });

    m_count = new QSpinBox(this);
    // Wider than the valid range, so that a wrong number is answered with the range message.
    m_count->setRange(0, 999);
    auto* countLabel = new QLabel(QStringLiteral("&Numero di colori:"), this);
    countLabel->setBuddy(m_count);
    connect(m_count, &QSpinBox::textChanged, this, &PaletteDialog::countTextChanged);
    // A number the user typed but did not confirm gives way to the real count on leaving the field.
    connect(m_count, &QSpinBox::editingFinished, this, [this] {
        if (m_count->cleanText().trimmed() != QString::number(m_state.count()))
            showCount();
    });

    m_create = new QPushButton(QStringLiteral("Crea nuova"), this);
    m_load = new QPushButton(QStringLiteral("&Carica"), this);
    m_save = new QPushButton(QStringLiteral("&Salva"), this);
    for (QPushButton* button : {m_create, m_load, m_save})
        button->setAutoDefault(false);
    // The frames are what an octree palette is made from.
    m_create->setEnabled(doc.frameCount() > 0);
    connect(m_create, &QPushButton::clicked, this, [this] { createNew(); });
    connect(m_load, &QPushButton::clicked, this, [this] { loadFile(); });
    connect(m_save, &QPushButton::clicked, this, [this] { saveFile(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addWidget(m_count);
    countRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(m_grid, 1);
    left->addLayout(countRow);

    auto* right = new QVBoxLayout;
    right->addWidget(buttons);
    right->addSpacing(12);
    right->addWidget(m_create);
    right->addWidget(m_load);
    right->addWidget(m_save);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    showCount();
}

void PaletteDialog::showCount() {
    m_showingCount = true;
    m_count->setValue(m_state.count());
    m_showingCount = false;
    m_grid->update();
}

void PaletteDialog::showMessage(const QString& text) {
    if (prompts().showMessage)
        prompts().showMessage(text);
    else
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
}

bool PaletteDialog::askYesNo(const QString& question) {
    if (prompts().askYesNo)
        return prompts().askYesNo(question);
    return QMessageBox::question(this, QString::fromUtf8(stringText(str::AppName)), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void PaletteDialog::countTextChanged(const QString& text) {
    // Only what the user types counts, not the dialog filling the field in.
    if (m_showingCount || !isVisible())
        return;
    bool ok = false;
    int value = text.trimmed().toInt(&ok);
    if (!ok)
        value = 0;
    if (value == m_state.count())
        return;
    if (value < 1 || value > kMaxPaletteEntries) {
        showMessage(kCountRangeMessage);
        m_count->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (askYesNo(QStringLiteral("Volete ridimensionare la palette in %1 colori?").arg(value))) {
        m_state.resize(value);
        m_grid->update();
    }
}

bool PaletteDialog::editEntry(int index) {
    if (index < 0 || index >= m_state.count())
        return false;
    const PaletteEntry& e = m_state.entry(index);
    const QColor initial(e.red, e.green, e.blue);
    std::optional<QColor> chosen;
    if (prompts().chooseColour) {
        chosen = prompts().chooseColour(initial);
    } else {
        const QColor colour = QColorDialog::getColor(initial, this);
        if (colour.isValid())
            chosen = colour;
    }
    if (!chosen || !chosen->isValid())
        return false;
    m_state.setColour(index, chosen->red(), chosen->green(), chosen->blue());
    m_grid->update();
    return true;
}

bool PaletteDialog::createNew() {
    if (m_doc.frameCount() == 0)
        return false;
    NewPaletteDialog dialog(m_state.count(), this);
    dialog.setMessageFunction([this](const QString& text) { showMessage(text); });
    const bool accepted =
        prompts().runNewPalette ? prompts().runNewPalette(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    const NewPaletteChoice choice = dialog.choice();
    NewPaletteResult result;
    {
        std::unique_ptr<Progress> progress;
        if (prompts().makeProgress)
            progress = prompts().makeProgress(this);
        if (!progress)
            progress = std::make_unique<RenderProgressDialog>(this);
        result = buildProjectPalette(m_doc, choice, *progress);
    }
    if (!result.error.isEmpty()) {
        showMessage(result.error);
        return false;
    }
    if (!result.entries || !m_state.replace(*result.entries))
        return false;
    showCount();
    return true;
}

bool PaletteDialog::loadFile() {
    const QString path = prompts().openFileName
                             ? prompts().openFileName()
                             : QFileDialog::getOpenFileName(this, QString(), QString(),
                                                            kFileFilters.join(QStringLiteral(";;")));
    if (path.isEmpty())
        return false;
    // Read into a copy: a JASC-PAL file keeps the previous values of what it does not give.
    Palette loaded = m_state.palette();
    const Status status = LoadPaletteFile(localPath(path), loaded);
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    m_state.replace(loaded);
    showCount();
    return true;
}

bool PaletteDialog::saveFile() {
    const QString path =
        prompts().saveFileName
            ? prompts().saveFileName()
            : askSaveFileName(this, kFileFilters, QString::fromUtf8(kPaletteDefaultExtension), QString());
    if (path.isEmpty())
        return false;
    const Status status = SavePaletteFile(localPath(path), m_state.palette());
    if (!status) {
        showMessage(QString::fromStdString(status.message()));
        return false;
    }
    return true;
}

}  // namespace quib

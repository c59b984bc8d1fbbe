#include "preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "app_settings.h"

namespace quib {

bool applyPreferences(AppSettings& settings, const PreferenceValues& values) {
    settings.setMruSize(values.mruSize);
    settings.reloadLastProject = values.reloadLastProject;
    const int cx = values.thumbCx <= 0 ? 64 : values.thumbCx;
    const int cy = values.thumbCy <= 0 ? 64 : values.thumbCy;
    const bool changed = cx != settings.thumbCx || cy != settings.thumbCy;
    settings.thumbCx = cx;
    settings.thumbCy = cy;
    settings.undoLevels = std::clamp(values.undoLevels, 1, 10000);
    settings.undoMemoryMb = std::clamp(values.undoMemoryMb, 1, 10000);
    return changed;
}

namespace {
QLineEdit* numberEdit(int value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,4}")), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    return edit;
}

int numberOf(const QLineEdit* edit) {
    return edit->text().trimmed().toInt();
}
}  // namespace

PreferencesDialog::PreferencesDialog(const PreferenceValues& values, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Preferenze"));
    m_mruSize = numberEdit(values.mruSize, this);
    m_reload = new QCheckBox(QStringLiteral("&Ricarica l'ultimo progetto all'avvio"), this);
    m_reload->setChecked(values.reloadLastProject);
    m_thumbCx = numberEdit(values.thumbCx, this);
    m_thumbCy = numberEdit(values.thumbCy, this);
    m_undoLevels = numberEdit(values.undoLevels, this);
    m_undoMemory = numberEdit(values.undoMemoryMb, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Numero di progetti recenti:"), m_mruSize);
    form->addRow(m_reload);
    form->addRow(QStringLiteral("&Larghezza miniature:"), m_thumbCx);
    form->addRow(QStringLiteral("&Altezza miniature:"), m_thumbCy);
    form->addRow(QStringLiteral("Livelli di a&nnullamento:"), m_undoLevels);
    form->addRow(QStringLiteral("&Memoria per l'annullamento (MB):"), m_undoMemory);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PreferenceValues PreferencesDialog::values() const {
    return {numberOf(m_mruSize), m_reload->isChecked(),  numberOf(m_thumbCx),
            numberOf(m_thumbCy), numberOf(m_undoLevels), numberOf(m_undoMemory)};
}

}  // namespace quib

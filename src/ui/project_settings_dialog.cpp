#include "project_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

#include "base/strings.h"
#include "export/project_output.h"
#include "model/output_path.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "save_file_dialog.h"

namespace quib {

namespace {
QString defaultBrowse(QWidget* parent, const QString& filter, const QString& suffix, const QString& name) {
    return askSaveFileName(parent, filter.split(QStringLiteral(";;")), suffix, name);
}
}  // namespace

ProjectSettingsDialog::ProjectSettingsDialog(OutputSettings& settings, QString projectDir, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_projectDir(std::move(projectDir)), m_browse(defaultBrowse) {
    setWindowTitle(QStringLiteral("Impostazioni progetto"));
    m_message = [this](const QString& text) {
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
    };

    m_name = new QLineEdit(shortenedOutputName(settings.outputFileName, m_projectDir), this);
    auto* browseButton = new QPushButton(QStringLiteral("&..."), this);
    browseButton->setAutoDefault(false);
    browseButton->setFixedWidth(browseButton->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(browseButton);

    m_type = new QComboBox(this);
    for (const ProjectOutput* output : projectOutputs()) {
        if (!output->renderTarget())
            continue;
        m_type->addItem(QString::fromUtf8(output->label().data(), qsizetype(output->label().size())),
                        int(output->type()));
        if (output->type() == settings.outputType)
            m_type->setCurrentIndex(m_type->count() - 1);
    }
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int index) { typeChanged(index); });

    m_frameRate = new QLineEdit(QString::number(settings.frameRate), this);
    m_frameRate->setMaximumWidth(m_frameRate->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                                 12);
    m_frameRate->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), this));

    m_smoothness = new QSlider(Qt::Horizontal, this);
    m_smoothness->setRange(2, 100);
    m_smoothness->setValue(int(std::clamp<uint32_t>(settings.cursorSmoothness, 2, 100)));
    auto* smoothRow = new QHBoxLayout;
    smoothRow->addWidget(new QLabel(QStringLiteral("Fluido"), this));
    smoothRow->addWidget(m_smoothness, 1);
    smoothRow->addWidget(new QLabel(QStringLiteral("Grezzo"), this));

    m_palette = new QCheckBox(QStringLiteral("&Usa una Palette (riduce la dimensione del file)"), this);
    m_palette->setChecked(settings.usePalette);

    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Nome del file di output:"), this);
    nameLabel->setBuddy(m_name);
    form->addRow(nameLabel, nameRow);
    auto* typeLabel = new QLabel(QStringLiteral("&Tipo di file di output:"), this);
    typeLabel->setBuddy(m_type);
    form->addRow(typeLabel, m_type);
    auto* rateLabel = new QLabel(QStringLiteral("Frame &Rate"), this);
    rateLabel->setBuddy(m_frameRate);
    form->addRow(rateLabel, m_frameRate);
    auto* smoothLabel = new QLabel(QStringLiteral("Movimento &cursore:"), this);
    smoothLabel->setBuddy(m_smoothness);
    form->addRow(smoothLabel, smoothRow);
    form->addRow(m_palette);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ProjectSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProjectSettingsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

QString ProjectSettingsDialog::browseFilter(OutputType type) {
    return QString::fromStdString(projectOutput(type).fileFilter());
}

namespace {
QString extensionOf(OutputType type) {
    const std::string_view extension = projectOutput(type).extension();
    return QString::fromUtf8(extension.data(), qsizetype(extension.size()));
}
}  // namespace

void ProjectSettingsDialog::typeChanged(int index) {
    m_settings.outputType = OutputType(m_type->itemData(index).toInt());
    m_name->setText(replaceExtension(m_name->text(), extensionOf(m_settings.outputType)));
}

void ProjectSettingsDialog::browse() {
    QString chosen = m_browse(this, browseFilter(m_settings.outputType), extensionOf(m_settings.outputType),
                              m_settings.outputFileName);
    if (!chosen.isEmpty())
        m_name->setText(shortenedOutputName(chosen, m_projectDir));
}

void ProjectSettingsDialog::refuse(const QString& message, QWidget* field) {
    m_message(message);
    field->setFocus(Qt::OtherFocusReason);
}

void ProjectSettingsDialog::accept() {
    QString name = m_name->text();
    if (name.isEmpty()) {
        refuse(QStringLiteral("Si prega di indicare un nome di file valido"), m_name);
        return;
    }
    bool ok = false;
    const int rate = m_frameRate->text().trimmed().toInt(&ok);
    if (!ok || rate <= 0) {
        refuse(QStringLiteral("Inserire un valore > 0"), m_frameRate);
        return;
    }
    if (!name.contains(QLatin1Char('.')))
        name += QLatin1Char('.') + extensionOf(m_settings.outputType);
    m_settings.frameRate = uint32_t(rate);
    m_settings.outputFileName = resolveOutputName(name, m_projectDir);
    m_settings.cursorSmoothness = uint32_t(m_smoothness->value());
    m_settings.usePalette = m_palette->isChecked();
    QDialog::accept();
}

namespace {
OutputSettings outputSettingsOf(const CQuibDoc& doc) {
    OutputSettings out;
    out.outputFileName = QString::fromStdString(doc.settings.outputFileName);
    out.outputType = doc.settings.outputType;
    out.frameRate = doc.settings.frameRate;
    out.cursorSmoothness = doc.settings.cursorSmoothness;
    out.usePalette = doc.settings.usePalette != 0;
    return out;
}
}  // namespace

bool runProjectSettings(CQuibDoc& doc, QWidget* parent, const OutputSettingsEditor& edit) {
    OutputSettings settings = outputSettingsOf(doc);
    if (settings.outputFileName.isEmpty())
        settings.outputFileName = QString::fromStdString(
            outputBesideProject(doc.pathName(), projectOutput(settings.outputType).extension()));
    const QString projectDir = QString::fromStdString(doc.projectDir);
    bool ok = false;
    if (edit) {
        ok = edit(settings, projectDir);
    } else {
        ProjectSettingsDialog dialog(settings, projectDir, parent);
        ok = dialog.exec() == QDialog::Accepted;
    }
    if (!ok) {
        // The type follows the list at once, whatever the dialog's end, without marking the
        // project modified.
        doc.settings.outputType = settings.outputType;
        return false;
    }
    // Accepting the dialog marks the project modified even when nothing differs: a step.
    editProject(doc, "Impostazioni progetto", [&] {
        doc.settings.outputType = settings.outputType;
        doc.settings.outputFileName = settings.outputFileName.toStdString();
        doc.settings.frameRate = settings.frameRate;
        doc.settings.cursorSmoothness = settings.cursorSmoothness;
        doc.settings.usePalette = settings.usePalette ? 1 : 0;
        return true;
    });
    return true;
}

}  // namespace quib

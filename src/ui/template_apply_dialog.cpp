#include "template_apply_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/template_file.h"
#include "template_element_chooser.h"
#include "template_preview.h"

namespace quib {

namespace {

const QSize kPreviewArea(240, 180);

// The pattern of a type entry: the text between the parentheses; "*.*" stands for every file.
QString patternOf(const QString& typeText) {
    const int open = typeText.indexOf(QLatin1Char('('));
    const int close = typeText.lastIndexOf(QLatin1Char(')'));
    const QString pattern =
        open >= 0 && close > open ? typeText.mid(open + 1, close - open - 1) : QStringLiteral("*");
    return pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
}

}  // namespace

TemplateApplyDialog::TemplateApplyDialog(const TemplatePreview& preview, const QString& startFolder,
                                         QWidget* parent)
    : QDialog(parent), m_preview(preview), m_mask(templ::AllElements) {
    setWindowTitle(QStringLiteral("Seleziona il modello da applicare"));

    m_drives = new QComboBox(this);
    for (const QFileInfo& drive : QDir::drives())
        m_drives->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    m_folders = new QListWidget(this);
    m_files = new QListWidget(this);
    m_types = new QComboBox(this);
    m_types->addItem(QStringLiteral("Quib Templates (*.qtp)"));
    m_types->addItem(QStringLiteral("All Files (*.*)"));
    m_folderField = new QLabel(this);
    m_folderField->setObjectName(QStringLiteral("folder302"));
    m_folderField->setWordWrap(true);
    m_folderField->setMaximumWidth(200);
    m_folders->setMinimumWidth(180);
    m_previewLabel = new QLabel(this);
    m_previewLabel->setFixedSize(kPreviewArea);
    m_previewLabel->setAlignment(Qt::AlignCenter);
    auto* chooser = new QPushButton(QStringLiteral("Seleziona gli elementi del modello"), this);

    auto* previewBox = new QGroupBox(QStringLiteral("Anteprima"), this);
    auto* previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(m_previewLabel);
    previewLayout->addWidget(chooser);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TemplateApplyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Nome file:"), this), 0, 0);
    grid->addWidget(m_files, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Tipo di files:"), this), 2, 0);
    grid->addWidget(m_types, 3, 0);
    grid->addWidget(m_folderField, 0, 1);
    grid->addWidget(m_folders, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Unità:"), this), 2, 1);
    grid->addWidget(m_drives, 3, 1);
    grid->addWidget(previewBox, 0, 2, 4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { setFolder(m_drives->itemText(index)); });
    connect(m_folders, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { enterFolder(item->text()); });
    connect(m_files, &QListWidget::currentRowChanged, this, [this] { updatePreview(); });
    connect(m_files, &QListWidget::itemActivated, this, [this] { accept(); });
    connect(m_types, &QComboBox::currentIndexChanged, this, [this] { fillLists(); });
    connect(chooser, &QPushButton::clicked, this, &TemplateApplyDialog::chooseElements);

    m_askElements = [this](uint32_t& mask) {
        TemplateElementChooser dialog(TemplateElementChooser::Applying, mask, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        mask = dialog.mask();
        return true;
    };

    const QDir start(startFolder);
    setFolder(!startFolder.isEmpty() && start.exists() ? start.absolutePath() : QDir::homePath());
}

void TemplateApplyDialog::setFolder(const QString& folder) {
    m_folder = QDir(folder).absolutePath();
    m_folderField->setText(QDir::toNativeSeparators(m_folder));
    fillLists();
}

void TemplateApplyDialog::enterFolder(const QString& name) {
    QDir dir(m_folder);
    if (dir.cd(name))
        setFolder(dir.absolutePath());
}

void TemplateApplyDialog::setTypeIndex(int index) {
    m_types->setCurrentIndex(index);
}

void TemplateApplyDialog::fillLists() {
    const QDir dir(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(QStringLiteral(".."));
    m_folders->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    m_files->clear();
    m_files->addItems(dir.entryList(QStringList{patternOf(m_types->currentText())}, QDir::Files,
                                    QDir::Name | QDir::IgnoreCase));
    updatePreview();
}

bool TemplateApplyDialog::selectFile(const QString& name) {
    const QList<QListWidgetItem*> found = m_files->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    m_files->setCurrentItem(found.first());
    return true;
}

QString TemplateApplyDialog::selectedPath() const {
    const QListWidgetItem* item = m_files->currentItem();
    return item ? QDir(m_folder).filePath(item->text()) : QString();
}

void TemplateApplyDialog::setMask(uint32_t mask) {
    m_mask = mask;
    updatePreview();
}

void TemplateApplyDialog::chooseElements() {
    uint32_t mask = m_mask;
    if (m_askElements && m_askElements(mask))
        setMask(mask);
}

void TemplateApplyDialog::updatePreview() {
    m_previewImage = m_preview.render(selectedPath(), m_mask, kPreviewArea);
    if (m_previewImage.isNull())
        m_previewLabel->clear();
    else
        m_previewLabel->setPixmap(QPixmap::fromImage(m_previewImage));
}

void TemplateApplyDialog::accept() {
    if (selectedPath().isEmpty())
        return;
    QDialog::accept();
}

}  // namespace quib

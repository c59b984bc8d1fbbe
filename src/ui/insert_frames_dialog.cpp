#include "insert_frames_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include "base/strings.h"

namespace quib {

InsertFramesDialog::InsertFramesDialog(bool projectHasFrames, QWidget* parent)
    : QDialog(parent), m_hasFrames(projectHasFrames) {
    setWindowTitle(QStringLiteral("Inserire frames"));
    auto* layout = new QVBoxLayout(this);

    auto* countRow = new QHBoxLayout;
    m_count = new QSpinBox(this);
    // Typed values beyond the arrows' range are refused on OK with their own message.
    m_count->setRange(-9999, 9999);
    m_count->setValue(1);
    auto* countLabel = new QLabel(QStringLiteral("&Numero frames da inserire:"), this);
    countLabel->setBuddy(m_count);
    countRow->addWidget(countLabel);
    countRow->addWidget(m_count);
    layout->addLayout(countRow);

    auto* what = new QGroupBox(QStringLiteral("Cosa inserire?"), this);
    auto* whatLayout = new QVBoxLayout(what);
    m_copy = new QRadioButton(QStringLiteral("&Copia del frame corrente"), what);
    m_empty = new QRadioButton(QStringLiteral("Frame vuoto"), what);
    m_empty->setChecked(true);
    m_files = new QRadioButton(QStringLiteral("&Immagini da file"), what);
    m_filesButton = new QPushButton(QStringLiteral("&Sfoglia..."), what);
    m_filesButton->setAutoDefault(false);
    m_filesLabel = new QLabel(what);
    connect(m_filesButton, &QPushButton::clicked, this, [this] { chooseFiles(); });
    whatLayout->addWidget(m_copy);
    whatLayout->addWidget(m_empty);
    auto* filesRow = new QHBoxLayout;
    filesRow->addWidget(m_files);
    filesRow->addWidget(m_filesButton);
    filesRow->addWidget(m_filesLabel, 1);
    whatLayout->addLayout(filesRow);
    for (QRadioButton* choice : {m_copy, m_empty, m_files})
        connect(choice, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    layout->addWidget(what);

    auto* where = new QGroupBox(QStringLiteral("Dove inserire?"), this);
    auto* whereLayout = new QVBoxLayout(where);
    m_before = new QRadioButton(QStringLiteral("&Prima del frame corrente"), where);
    m_after = new QRadioButton(QStringLiteral("&Dopo il frame corrente"), where);
    m_before->setChecked(true);
    whereLayout->addWidget(m_before);
    whereLayout->addWidget(m_after);
    layout->addWidget(where);

    auto* size = new QWidget(this);
    auto* sizeLayout = new QGridLayout(size);
    sizeLayout->setContentsMargins(0, 0, 0, 0);
    m_width = new QSpinBox(size);
    m_height = new QSpinBox(size);
    m_width->setRange(0, kMaxPictureSide);
    m_height->setRange(0, kMaxPictureSide);
    m_width->setValue(640);
    m_height->setValue(480);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Dimensioni del frame:"), size), 0, 0);
    sizeLayout->addWidget(m_width, 0, 1);
    sizeLayout->addWidget(new QLabel(QStringLiteral("x"), size), 0, 2);
    sizeLayout->addWidget(m_height, 0, 3);
    sizeLayout->addWidget(new QLabel(QStringLiteral("pixels"), size), 0, 4);
    auto* note =
        new QLabel(QStringLiteral("Il progetto non ha alcun frame. I nuovi frames inseriti avranno le "
                                  "dimensioni che indicherete qui sopra."),
                   size);
    note->setWordWrap(true);
    sizeLayout->addWidget(note, 1, 0, 1, 5);
    layout->addWidget(size);

    if (m_hasFrames) {
        size->hide();
    } else {
        m_copy->hide();
        where->hide();
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    updateEnabled();
}

void InsertFramesDialog::chooseFiles() {
    if (!m_askFiles)
        return;
    const QStringList chosen = m_askFiles();
    if (chosen.isEmpty())
        return;
    m_pictureFiles = chosen;
    m_files->setChecked(true);
    m_filesLabel->setText(chosen.size() == 1 ? QStringLiteral("1 file")
                                             : QStringLiteral("%1 files").arg(chosen.size()));
}

void InsertFramesDialog::updateEnabled() {
    const bool files = m_files->isChecked();
    m_count->setEnabled(!files);
    m_width->setEnabled(!files);
    m_height->setEnabled(!files);
}

void InsertFramesDialog::refuse(const QString& text) {
    if (m_showMessage)
        m_showMessage(text);
    else
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
}

InsertFramesRequest InsertFramesDialog::request() const {
    InsertFramesRequest request;
    request.count = m_count->value();
    request.copyCurrent = m_hasFrames && m_copy->isChecked();
    request.after = m_hasFrames && m_after->isChecked();
    request.emptyProjectSize = Size{m_width->value(), m_height->value()};
    request.fromFiles = m_files->isChecked();
    if (request.fromFiles)
        for (const QString& path : m_pictureFiles)
            request.pictureFiles.push_back(path.toStdString());
    return request;
}

void InsertFramesDialog::accept() {
    if (m_files->isChecked()) {
        if (m_pictureFiles.isEmpty()) {
            refuse(QStringLiteral("Scegliere almeno un file immagine."));
            m_filesButton->setFocus();
        } else if (m_pictureFiles.size() > kMaxInsertedFrames) {
            refuse(QString::fromUtf8(stringText(str::NumberOneToNinetyNine)));
        } else {
            QDialog::accept();
        }
        return;
    }
    const int count = m_count->value();
    if (count < 1 || count > kMaxInsertedFrames) {
        refuse(QString::fromUtf8(stringText(str::NumberOneToNinetyNine)));
        m_count->setFocus();
        return;
    }
    if (!m_hasFrames) {
        for (QSpinBox* side : {m_width, m_height}) {
            if (side->value() < 1) {
                side->setFocus();
                return;
            }
        }
    }
    QDialog::accept();
}

}  // namespace quib

#include "html_export_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/html_export.h"
#include "save_file_dialog.h"
#include "title_width.h"

namespace quib {

namespace {
QString defaultBrowse(QWidget* parent, const QString& name) {
    return askSaveFileName(parent,
                           {QStringLiteral("HTML files (*.htm *.html)"), QStringLiteral("Tutti i files (*)")},
                           QStringLiteral("htm"), name);
}
}  // namespace

HtmlExportDialog::HtmlExportDialog(const FilterTable& filters, const QString& rememberedName,
                                   int rememberedFilter, QWidget* parent)
    : QDialog(parent), m_browse(defaultBrowse) {
    setWindowTitle(QStringLiteral("Opzioni per esportazione HTML"));
    keepTitleVisible(*this);

    m_name = new QLineEdit(rememberedName, this);
    auto* browseButton = new QPushButton(QStringLiteral("&Sfoglia"), this);
    browseButton->setAutoDefault(false);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(browseButton);
    auto* nameLabel = new QLabel(QStringLiteral("&Salva come file:"), this);
    nameLabel->setBuddy(m_name);

    m_types = new QListWidget(this);
    for (int index : htmlExportFilterIndices(filters)) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(filterDisplayName(*filters.entry(index).caps)));
        item->setData(Qt::UserRole, index);
        m_types->addItem(item);
        if (index == rememberedFilter)
            m_types->setCurrentItem(item);
    }
    if (!m_types->currentItem() && m_types->count() > 0)
        m_types->setCurrentRow(0);
    auto* typeLabel = new QLabel(QStringLiteral("Tipo di &file per salvare le immagini:"), this);
    typeLabel->setBuddy(m_types);

    auto* note = new QLabel(
        QStringLiteral(
            "Per visualizzare il progetto in una pagina web, scegliere dall'elenco il formato BMP, "
            "JPG o PNG."),
        this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(hasTypes());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addLayout(nameRow);
    layout->addWidget(typeLabel);
    layout->addWidget(m_types, 1);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

bool HtmlExportDialog::hasTypes() const {
    return m_types->count() > 0;
}

QString HtmlExportDialog::pageName() const {
    return m_name->text().trimmed();
}

int HtmlExportDialog::filterIndex() const {
    const QListWidgetItem* item = m_types->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void HtmlExportDialog::browse() {
    const QString chosen = m_browse(this, m_name->text());
    if (!chosen.isEmpty())
        m_name->setText(chosen);
}

}  // namespace quib
